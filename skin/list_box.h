#pragma once
#include <QAbstractScrollArea>
#include <QColor>
#include <QImage>
#include <QPointer>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

class QLineEdit;

namespace q30x {

// Item data of a row: a non-zero kind takes the top byte over the low 24
// bits of the value; kind 0 keeps all 32 bits of the value.
constexpr uint32_t packItemData(uint8_t kind, uint32_t value) {
    return kind ? (uint32_t{kind} << 24) | (value & 0xFFFFFFu) : value;
}
constexpr uint8_t kindOf(uint32_t itemData) { return static_cast<uint8_t>(itemData >> 24); }

// The program's list control: single selection, rows of one height drawn in
// the skin's colours, an optional kind icon per row, and in-place editing of
// a row's text. A click or key that selects a row posts 1125 (id, index) and
// a committed edit posts 1136 (id, index) to the notify target's port, or
// to the port of the window the list was created on. Rows scroll by whole
// rows through the vertical QScrollBar; CSkinScrollWnd hides it and shows
// its skinned bar instead.
class CListBoxEx : public QAbstractScrollArea {
public:
    static constexpr int kEditLimit = 20;

    // Kind icons come from "skins/" in `programFolder`.
    CListBoxEx(const QRect& rect, QWidget* parent, int id, const QString& programFolder);
    ~CListBoxEx() override;

    void setColours(QColor background, QColor selectedBackground);
    void setTextColours(QColor text, QColor selectedText);
    void setItemHeight(uint16_t height);
    void setDoubleClickEditing(bool on) { doubleClickEditing_ = on; }
    // With useTarget false the notifications go to the list's own window.
    void setNotifyTarget(QObject* window, bool useTarget);

    // Closes an open editor without saving, appends the row and selects it;
    // editNow opens the editor on it. The icon column follows the kind:
    // shown from a non-zero kind on, hidden by kind 0. Returns the index.
    int addRow(uint8_t kind, const QString& text, uint32_t value, bool editNow = false);
    // Index -1 appends; an index past the end is refused (false).
    bool insertRow(int index, uint8_t kind, const QString& text, uint32_t value);
    bool replaceRow(int index, uint8_t kind, const QString& text, uint32_t value);
    bool deleteRow(int index);
    void resetContent();

    int count() const { return static_cast<int>(rows_.size()); }
    int selection() const { return selection_; }
    // Selects without notifying (-1 clears) and scrolls the row into view.
    void setSelection(int index);
    std::optional<uint32_t> itemData(int index) const;
    QString text(int index) const;
    int id() const { return id_; }
    uint16_t itemHeight() const { return itemHeight_; }
    bool showsIcons() const { return iconsFlag_ != 0; }
    int hotRow() const { return hotRow_; }
    int editedRow() const { return editedRow_; }
    QLineEdit* editor() const { return editor_; }
    // Row rectangle in the viewport's coordinates.
    QRect rowRect(int index) const;
    int rowAt(const QPoint& viewportPoint) const;

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    struct Row {
        QString text;
        uint32_t data;
    };
    struct Icons {
        QImage normal, selected;
    };

    void openEditor(int index);
    void commitEdit();
    void cancelEdit();
    void closeEditor();
    void selectByUser(int index);
    void notify(uint32_t message, int index);
    void updateScrollRange();
    int topRow() const;
    int visibleRows() const;
    QColor listBackground() const;
    void drawRow(QPainter& p, int index) const;
    void repaintRow(int index);

    int id_;
    QPointer<QObject> owner_;  // the window the list was created on
    int hotRow_ = -1;
    int editedRow_ = -1;
    QLineEdit* editor_ = nullptr;
    QPointer<QObject> notifyTarget_;
    bool useTarget_ = false;
    uint8_t iconsFlag_ = 1;
    uint16_t itemHeight_ = 20;
    QColor selectedText_, text_, selectedBackground_;
    std::optional<QColor> background_;  // none until the owner sets one
    bool doubleClickEditing_ = false;
    std::array<Icons, 3> icons_;  // as layout::listbox::kIcons
    std::vector<Row> rows_;
    int selection_ = -1;
};

}  // namespace q30x
