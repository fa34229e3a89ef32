#pragma once
#include <QLibrary>
#include <QString>

#include "skin/menu_ex/menu_ex.h"

namespace q30x {

// The drop-down menu library, loaded once by the main settings page and
// kept for the rest of the run.
class MenuLibrary {
public:
    enum class Result { Loaded, NotFound, MissingExport };

    // `file` is a path or a bare name searched like any library.
    Result load(const QString& file);
    // libMenuEx.so beside the program, else searched by name.
    Result loadDefault(const QString& programFolder);

    bool ready() const { return create_ && destroy_; }
    CreateMenuExFn create() const { return create_; }
    DestroyMenuExFn destroy() const { return destroy_; }
    QString error() const { return error_; }

private:
    QLibrary library_;
    CreateMenuExFn create_ = nullptr;
    DestroyMenuExFn destroy_ = nullptr;
    DllPreTranslateMessageFn preTranslate_ = nullptr;  // looked up, never called
    QString error_;
};

}  // namespace q30x
