#include "skin/xp_menu.h"

#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>

#include "skin/images.h"
#include "skin/layout.h"

namespace q30x {
namespace {

namespace lx = layout::xpmenu;

// The owner-draw hooks of a QMenu are its style's menu-item calls.
class XPMenuStyle final : public QProxyStyle {
public:
    explicit XPMenuStyle(const CXPMenu* menu) : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))), menu_(menu) {}

    QSize sizeFromContents(ContentsType type, const QStyleOption* o, const QSize& s, const QWidget* w) const override {
        if (type == CT_MenuItem) return QSize(lx::kItem.width, lx::kItem.height);
        return QProxyStyle::sizeFromContents(type, o, s, w);
    }

    int pixelMetric(PixelMetric m, const QStyleOption* o, const QWidget* w) const override {
        switch (m) {
            case PM_MenuPanelWidth:
            case PM_MenuHMargin:
            case PM_MenuVMargin:
            case PM_MenuDesktopFrameWidth: return 0;
            default: return QProxyStyle::pixelMetric(m, o, w);
        }
    }

    void drawPrimitive(PrimitiveElement e, const QStyleOption* o, QPainter* p, const QWidget* w) const override {
        if (e == PE_PanelMenu || e == PE_FrameMenu) {
            p->fillRect(o->rect, colorRef(0xD1D8DB));
            return;
        }
        QProxyStyle::drawPrimitive(e, o, p, w);
    }

    void drawControl(ControlElement e, const QStyleOption* o, QPainter* p, const QWidget* w) const override {
        if (e != CE_MenuItem) return QProxyStyle::drawControl(e, o, p, w);
        const QAction* action = menu_->actionAt(o->rect.center());
        const XPMenuItem* item = menu_->itemOf(action);
        if (!item) return;  // an item without item data is not drawn
        drawXPMenuItem(*p, o->rect, (o->state & State_Selected) != 0, *item);
    }

private:
    const CXPMenu* menu_;
};

}  // namespace

void drawXPMenuItem(QPainter& p, const QRect& rect, bool highlighted, const XPMenuItem& item) {
    p.save();
    QRect r = rect;
    if (highlighted) {
        p.setPen(Qt::black);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
        p.fillRect(r, colorRef(0xCFB9B1));
    } else {
        p.fillRect(QRect(r.left(), r.top(), lx::kIconStrip, r.height()), colorRef(0xD1D8DB));
        p.fillRect(QRect(r.left() + lx::kIconStrip, r.top(), r.width() - lx::kIconStrip, r.height()), colorRef(0xD1D8DB));
    }
    const QImage icon = builtinImage(highlighted ? item.highlightIcon : item.normalIcon);
    if (!icon.isNull()) p.drawImage(QRect(r.left() + 3, r.top() + 3, 16, 16), icon);
    const QFont font = skinFont(QStringLiteral("Arial"), 14, 500);
    p.setFont(font);
    p.setPen(highlighted ? colorRef(0x913C00) : QColor(Qt::black));
    const QRect text(r.left() + lx::kTextLeft, r.top(), r.right() + 1 - (r.left() + lx::kTextLeft), r.height());
    p.drawText(text, Qt::AlignCenter | Qt::TextSingleLine, QFontMetrics(font).elidedText(item.text, Qt::ElideRight, text.width()));
    p.restore();
}

CXPMenu::CXPMenu(QWidget* parent) : QMenu(parent) {
    auto* style = new XPMenuStyle(this);
    style->setParent(this);
    setStyle(style);
}

QAction* CXPMenu::appendItem(int command, const XPMenuItem* item) {
    QAction* action = addAction(item ? item->text : QString());
    action->setData(command);
    items_[action] = item;
    return action;
}

const XPMenuItem* CXPMenu::itemOf(const QAction* action) const {
    auto it = items_.find(action);
    return it == items_.end() ? nullptr : it->second;
}

}  // namespace q30x
