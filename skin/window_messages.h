#pragma once
#include <QPointer>
#include <QWidget>

#include "i18n/catalogue.h"
#include "platform/user_messages.h"

namespace q30x {

class CDlgInfo;

// The program's messages to the user as windows: the skinned box, the
// standard box, and the self-closing notice of plugging and unplugging. Each
// runs modally over the owner and returns when it is closed.
class WindowMessages : public UserMessages {
public:
    explicit WindowMessages(const LanguageState& language) : language_(language) {}
    void setOwner(QWidget* owner) { owner_ = owner; }

    void info(std::u16string_view text) override;
    void standard(std::u16string_view text, std::u16string_view caption) override;
    bool question(std::u16string_view text) override;
    // The skinned box in its countdown form: closes itself after five
    // seconds. One at a time: news that comes while one is shown (from its
    // own event loop) takes over that box and its five seconds start again,
    // instead of a box over a box.
    virtual void countdown(std::u16string_view text);

protected:
    QWidget* owner() const { return owner_; }
    const LanguageState& language() const { return language_; }

private:
    const LanguageState& language_;
    QPointer<QWidget> owner_;
    QPointer<CDlgInfo> countdownBox_;
};

}  // namespace q30x
