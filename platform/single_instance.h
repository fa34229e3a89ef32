#pragma once
#include <memory>
#include <string>

#include "platform/paths.h"

namespace q30x {

// One copy of the program per user. The first copy holds a lock for its whole
// life (the system drops it when the process ends, however it ends) and, once
// its window can show itself, listens for the one request a later copy may
// make: "show yourself".
class SingleInstance {
public:
    virtual ~SingleInstance() = default;
    // True when this process is the first copy; false when another holds the lock.
    virtual bool acquire() = 0;
    // Starts taking requests (the first copy, once its window exists). A socket
    // left by a crashed copy is replaced.
    virtual bool listen() = 0;
    // Readable when connections or requests are pending; -1 before listen().
    virtual int descriptor() const = 0;
    // Takes what is pending; the number of complete "show yourself" requests
    // from this user. Anything else is dropped.
    virtual int takeShowRequests() = 0;
    // A later copy asks the first to show itself; false when it does not
    // listen yet (still starting) or is gone.
    virtual bool requestShow() = 0;
};

// The request on the wire: message 1132 with 0x203, two little-endian words.
inline constexpr unsigned char kShowRequest[8] = {0x6C, 0x04, 0, 0, 0x03, 0x02, 0, 0};

// $XDG_RUNTIME_DIR/q30x when the desktop has a runtime folder, else a
// private folder of this user under /tmp. Created with mode 0700; empty when
// it cannot be made private.
std::string instanceFolder();

std::unique_ptr<SingleInstance> makeSingleInstance(const std::string& folder);

}  // namespace q30x
