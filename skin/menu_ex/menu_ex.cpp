// libMenuEx.so: the skinned drop-down menu of game groups. The colours are
// COLORREF values; the eight bitmaps are the item looks (normal, hover,
// pressed, last) of plain items and of items that open a sub-menu.
#include "skin/menu_ex/menu_ex.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>
#include <array>
#include <map>

#include "platform/message_target.h"
#include "platform/messages.h"

namespace {

enum Look { kNormal, kHover, kDown, kLast, kSubNormal, kSubHover, kSubDown, kSubLast, kLooks };

QColor fromColorRef(uint32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

class MenuStyle final : public QProxyStyle {
public:
    MenuStyle(std::array<QImage, kLooks> looks, int itemHeight, std::array<QColor, 3> colours)
        : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))), looks_(std::move(looks)),
          itemHeight_(itemHeight), colours_(colours) {}

    QSize sizeFromContents(ContentsType t, const QStyleOption* o, const QSize& s, const QWidget* w) const override {
        if (t != CT_MenuItem) return QProxyStyle::sizeFromContents(t, o, s, w);
        const int natural = looks_[kNormal].isNull() ? 120 : looks_[kNormal].width();
        return QSize(std::max(natural, s.width() + 36), itemHeight_);
    }

    int pixelMetric(PixelMetric m, const QStyleOption* o, const QWidget* w) const override {
        if (m == PM_MenuPanelWidth || m == PM_MenuHMargin || m == PM_MenuVMargin || m == PM_SubMenuOverlap) return 0;
        return QProxyStyle::pixelMetric(m, o, w);
    }

    void drawPrimitive(PrimitiveElement e, const QStyleOption* o, QPainter* p, const QWidget* w) const override {
        if (e == PE_PanelMenu || e == PE_FrameMenu) {
            p->fillRect(o->rect, QColor(0x0F, 0x0F, 0x0F));
            return;
        }
        QProxyStyle::drawPrimitive(e, o, p, w);
    }

    void drawControl(ControlElement e, const QStyleOption* o, QPainter* p, const QWidget* w) const override {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(o);
        if (e != CE_MenuItem || !item) return QProxyStyle::drawControl(e, o, p, w);
        const bool sub = item->menuItemType == QStyleOptionMenuItem::SubMenu;
        const bool hot = (o->state & State_Selected) != 0;
        const bool down = hot && (o->state & State_Sunken) != 0;
        const int look = (sub ? kSubNormal : kNormal) + (down ? kDown : hot ? kHover : kNormal);
        const QImage& image = looks_[static_cast<size_t>(look)];
        if (image.isNull()) p->fillRect(o->rect, hot ? colours_[2] : QColor(0x1A, 0x1D, 0x21));
        else p->drawImage(o->rect, image);
        p->setPen(hot ? colours_[1] : colours_[0]);
        p->setFont(item->font);
        const QRect text = o->rect.adjusted(12, 0, sub ? -22 : -8, 0);
        p->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                    item->fontMetrics.elidedText(item->text, Qt::ElideRight, text.width()));
    }

private:
    std::array<QImage, kLooks> looks_;
    int itemHeight_;
    std::array<QColor, 3> colours_;
};

QPointer<QMenu> openMenu;

QString fromUtf16(const char16_t* s, size_t max) {
    if (!s) return {};
    size_t n = 0;
    while (n < max && s[n]) ++n;
    return QString::fromUtf16(s, static_cast<qsizetype>(n));
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) void DestroyMenuEx() {
    if (openMenu) {
        openMenu->close();
        openMenu->deleteLater();
    }
    openMenu = nullptr;
}

__attribute__((visibility("default"))) int CreateMenuEx(q30x::MessageTarget* owner, int32_t itemHeight,
                                                        MenuExPoint topLeft, uint32_t textColour,
                                                        uint32_t hoverTextColour, uint32_t accentColour,
                                                        const char16_t* normal, const char16_t* hover,
                                                        const char16_t* down, const char16_t* normalLast,
                                                        const char16_t* subNormal, const char16_t* subHover,
                                                        const char16_t* subDown, const char16_t* subNormalLast,
                                                        const MenuExItem* items, int32_t count) {
    DestroyMenuEx();
    if (!items || count <= 0 || itemHeight <= 0) return 0;
    std::array<QImage, kLooks> looks;
    const char16_t* paths[kLooks] = {normal, hover, down, normalLast, subNormal, subHover, subDown, subNormalLast};
    for (int i = 0; i < kLooks; ++i) looks[static_cast<size_t>(i)] = QImage(fromUtf16(paths[i], 4096));

    auto* menu = new QMenu;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    auto* style = new MenuStyle(looks, itemHeight, {fromColorRef(textColour), fromColorRef(hoverTextColour),
                                                    fromColorRef(accentColour)});
    style->setParent(menu);
    menu->setStyle(style);

    // Top-level items first; an item whose parent is a top-level command
    // goes into that item's sub-menu, anything else is dropped.
    std::map<int32_t, QMenu*> subMenus;
    std::map<int32_t, bool> hasChildren;
    for (int32_t i = 0; i < count; ++i)
        if (items[i].parent != kMenuExTopLevel) hasChildren[items[i].parent] = true;
    auto addChoice = [owner](QMenu* into, const MenuExItem& item) {
        QAction* a = into->addAction(fromUtf16(item.text, 40));
        const int32_t command = item.command;
        QObject::connect(a, &QAction::triggered, a, [owner, command] {
            if (owner) owner->post(q30x::msg::kMenuChoice, 0, static_cast<intptr_t>(command & 0xFFFF));
        });
    };
    for (int32_t i = 0; i < count; ++i) {
        const MenuExItem& item = items[i];
        if (item.parent != kMenuExTopLevel) continue;
        if (hasChildren.count(item.command)) {
            QMenu* sub = menu->addMenu(fromUtf16(item.text, 40));
            sub->setStyle(style);
            subMenus[item.command] = sub;
        } else {
            addChoice(menu, item);
        }
    }
    for (int32_t i = 0; i < count; ++i) {
        auto it = subMenus.find(items[i].parent);
        if (items[i].parent != kMenuExTopLevel && it != subMenus.end()) addChoice(it->second, items[i]);
    }
    openMenu = menu;
    menu->popup(QPoint(topLeft.x, topLeft.y));
    return 1;
}

__attribute__((visibility("default"))) int DllPreTranslateMessage(void*) { return 0; }

}
