#include "skin/page_controls.h"

#include <QPainter>

#include "skin/bitmap_button.h"
#include "skin/images.h"
#include "skin/list_box.h"
#include "skin/skin_page.h"
#include "skin/skin_scroll.h"

namespace q30x {

CGDIBitmapBtn* pageButton(CSkinPage* page, const layout::Rect& r, const QString& caption) {
    auto* button = new CGDIBitmapBtn(caption, toQRect(r), page);
    button->cutImages(toQRect(r), page->normalImage(), page->hoverImage(), page->pressedImage(), page->normalImage());
    return button;
}

CGDIBitmapBtn* pageGlyphButton(CSkinPage* page, const layout::Rect& r) {
    auto* button = new CGDIBitmapBtn({}, toQRect(r), page);
    const QRect at = toQRect(r);
    QImage dimmed = cut(page->normalImage(), at);
    QPainter p(&dimmed);
    p.fillRect(dimmed.rect(), QColor(0, 0, 0, 150));
    p.end();
    button->setImages(cut(page->normalImage(), at), cut(page->hoverImage(), at), cut(page->pressedImage(), at), dimmed);
    return button;
}

CGDIBitmapBtn* pageCheckBox(CSkinPage* page, const layout::Rect& r) {
    CGDIBitmapBtn* box = pageButton(page, r);
    box->setModes(true, false);
    return box;
}

CListBoxEx* pageList(CSkinPage* page, const QString& programFolder, const layout::Rect& r, int id,
                     uint16_t itemHeight, const ListColours& colours) {
    auto* list = new CListBoxEx(toQRect(r), page, id, programFolder);
    list->setItemHeight(itemHeight);
    list->setColours(colours.background, colours.selectedBackground);
    list->setTextColours(colours.text, colours.selectedText);
    list->setDoubleClickEditing(false);
    CSkinScrollWnd::wrap(list, builtinImage(layout::scrollbar::kBitmap));
    return list;
}

bool isDialogKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape || key == Qt::Key_Space;
}

}  // namespace q30x
