#pragma once
#include <QMenu>
#include <QString>
#include <map>

namespace q30x {

// Item data of an owner-drawn tray menu item; owned by the code that builds
// the menu and valid while it is shown.
struct XPMenuItem {
    int normalIcon;     // built-in icon id
    int highlightIcon;  // built-in icon id
    QString text;
};

// Draws one item of the flat light tray-menu look into `r`.
void drawXPMenuItem(QPainter& p, const QRect& r, bool highlighted, const XPMenuItem& item);

// A menu whose items are drawn by drawXPMenuItem, each 75 x 22 pixels.
class CXPMenu : public QMenu {
public:
    explicit CXPMenu(QWidget* parent = nullptr);
    // The action carries `command` as its data.
    QAction* appendItem(int command, const XPMenuItem* item);
    const XPMenuItem* itemOf(const QAction* action) const;

private:
    std::map<const QAction*, const XPMenuItem*> items_;
};

}  // namespace q30x
