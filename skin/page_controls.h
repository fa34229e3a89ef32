#pragma once
#include <QColor>
#include <QString>

#include "skin/layout.h"

namespace q30x {

class CGDIBitmapBtn;
class CListBoxEx;
class CSkinPage;

// A button of a page, its looks cut from the page's three images.
CGDIBitmapBtn* pageButton(CSkinPage* page, const layout::Rect& r, const QString& caption = {});
// A button whose art has no words: disabled, it shows its picture dimmed,
// since no greyed caption tells it apart.
CGDIBitmapBtn* pageGlyphButton(CSkinPage* page, const layout::Rect& r);
// The same in check mode: the pressed image shows while it is ticked.
CGDIBitmapBtn* pageCheckBox(CSkinPage* page, const layout::Rect& r);

struct ListColours {
    QColor background, selectedBackground, text, selectedText;
};

// A list of a page in its colours, wearing the skinned vertical bar.
CListBoxEx* pageList(CSkinPage* page, const QString& programFolder, const layout::Rect& r, int id,
                     uint16_t itemHeight, const ListColours& colours);

// Enter, Esc and Space: the skinned windows let no key press their buttons
// or close them; the hooks still see these keys, so they can be captured.
bool isDialogKey(int key);

}  // namespace q30x
