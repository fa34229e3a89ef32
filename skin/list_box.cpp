#include "skin/list_box.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QValidator>
#include <algorithm>

#include "platform/messages.h"
#include "skin/images.h"
#include "skin/layout.h"
#include "skin/message_port.h"

namespace q30x {

namespace lb = layout::listbox;

namespace {

// The list whose editor is open: one in the whole program.
CListBoxEx* editingList = nullptr;

// Like an edit box's text limit: typing stops at the limit, but a longer
// text put in from outside stays whole and may only shrink.
class EditLimit final : public QValidator {
public:
    EditLimit(qsizetype initialLength, QObject* parent) : QValidator(parent), accepted_(initialLength) {}
    State validate(QString& input, int&) const override {
        if (input.size() > CListBoxEx::kEditLimit && input.size() > accepted_) return Invalid;
        accepted_ = input.size();
        return Acceptable;
    }

private:
    mutable qsizetype accepted_;
};

bool isEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

}  // namespace

CListBoxEx::CListBoxEx(const QRect& rect, QWidget* parent, int id, const QString& programFolder)
    : QAbstractScrollArea(parent),
      id_(id),
      owner_(parent),
      selectedText_(palette().color(QPalette::Active, QPalette::HighlightedText)),
      text_(palette().color(QPalette::Active, QPalette::Text)),
      selectedBackground_(palette().color(QPalette::Active, QPalette::Highlight)) {
    for (size_t i = 0; i < lb::kIcons.size(); ++i) {
        auto file = [&](std::string_view name) {
            return loadSkinImage(programFolder, QStringLiteral("skins/") + QLatin1StringView(name.data(), static_cast<qsizetype>(name.size())));
        };
        icons_[i] = {file(lb::kIcons[i].normal), file(lb::kIcons[i].selected)};
    }
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setMouseTracking(true);
    setFont(skinFont(QStringLiteral("MS Shell Dlg"), 14, 400));
    setGeometry(rect);
    updateScrollRange();
    show();
}

CListBoxEx::~CListBoxEx() {
    // The editor goes with its list; only the program-wide hooks are undone.
    if (!editor_) return;
    editor_->removeEventFilter(this);
    qApp->removeEventFilter(this);
    editingList = nullptr;
}

void CListBoxEx::setColours(QColor background, QColor selectedBackground) {
    background_ = background;
    selectedBackground_ = selectedBackground;
    viewport()->update();
}

void CListBoxEx::setTextColours(QColor text, QColor selectedText) {
    text_ = text;
    selectedText_ = selectedText;
    viewport()->update();
}

void CListBoxEx::setItemHeight(uint16_t height) {
    itemHeight_ = std::max<uint16_t>(height, 1);  // rows are counted by dividing by it
    updateScrollRange();
    viewport()->update();
}

void CListBoxEx::setNotifyTarget(QObject* window, bool useTarget) {
    notifyTarget_ = window;
    useTarget_ = useTarget;
}

int CListBoxEx::addRow(uint8_t kind, const QString& text, uint32_t value, bool editNow) {
    if (editingList) editingList->cancelEdit();
    const int index = count();
    iconsFlag_ = kind;
    insertRow(index, kind, text, value);
    if (editNow) openEditor(index);
    return index;
}

bool CListBoxEx::insertRow(int index, uint8_t kind, const QString& text, uint32_t value) {
    if (index == -1) index = count();
    if (index < 0 || index > count()) return false;
    // An edit would land on whatever row moved under the editor.
    if (editor_) cancelEdit();
    rows_.insert(rows_.begin() + index, Row{text, packItemData(kind, value)});
    updateScrollRange();
    setSelection(index);
    viewport()->update();
    return true;
}

bool CListBoxEx::replaceRow(int index, uint8_t kind, const QString& text, uint32_t value) {
    return deleteRow(index) && insertRow(index, kind, text, value);
}

bool CListBoxEx::deleteRow(int index) {
    if (index < 0 || index >= count()) return false;
    if (editor_) cancelEdit();
    rows_.erase(rows_.begin() + index);
    if (selection_ == index) selection_ = -1;
    else if (selection_ > index) --selection_;
    if (hotRow_ >= count()) hotRow_ = -1;
    updateScrollRange();
    viewport()->update();
    return true;
}

void CListBoxEx::resetContent() {
    if (editor_) cancelEdit();
    rows_.clear();
    selection_ = -1;
    hotRow_ = -1;
    updateScrollRange();
    viewport()->update();
}

void CListBoxEx::setSelection(int index) {
    if (index < 0 || index >= count()) index = -1;
    if (index != selection_) {
        repaintRow(selection_);
        selection_ = index;
        repaintRow(selection_);
    }
    if (index < 0) return;
    QScrollBar* bar = verticalScrollBar();
    if (index < topRow()) bar->setValue(index);
    else if (index >= topRow() + visibleRows()) bar->setValue(index - visibleRows() + 1);
}

std::optional<uint32_t> CListBoxEx::itemData(int index) const {
    if (index < 0 || index >= count()) return std::nullopt;
    return rows_[static_cast<size_t>(index)].data;
}

QString CListBoxEx::text(int index) const {
    return index >= 0 && index < count() ? rows_[static_cast<size_t>(index)].text : QString();
}

QRect CListBoxEx::rowRect(int index) const {
    return QRect(0, (index - topRow()) * itemHeight_, viewport()->width(), itemHeight_);
}

int CListBoxEx::rowAt(const QPoint& p) const {
    if (p.y() < 0 || p.x() < 0 || p.x() >= viewport()->width()) return -1;
    const int index = topRow() + p.y() / itemHeight_;
    return index < count() ? index : -1;
}

int CListBoxEx::topRow() const { return verticalScrollBar()->value(); }

// From the list's own height, which is current before the list is first
// shown (its viewport is laid out only then).
int CListBoxEx::visibleRows() const { return std::max(1, contentsRect().height() / itemHeight_); }

void CListBoxEx::updateScrollRange() {
    // Whole rows, as a list box scrolls: the last position shows the last
    // row at the bottom.
    QScrollBar* bar = verticalScrollBar();
    bar->setSingleStep(1);
    bar->setPageStep(visibleRows());
    bar->setRange(0, std::max(0, count() - visibleRows()));
}

QColor CListBoxEx::listBackground() const {
    if (!isEnabled()) return palette().color(QPalette::Disabled, QPalette::Window);
    return background_.value_or(palette().color(QPalette::Active, QPalette::Base));
}

void CListBoxEx::drawRow(QPainter& p, int index) const {
    const QRect r = rowRect(index);
    const bool selected = index == selection_;
    p.fillRect(r, selected ? selectedBackground_ : background_ ? *background_ : listBackground());
    const uint8_t kind = kindOf(rows_[static_cast<size_t>(index)].data);
    int textLeft = r.left() + 5;
    if (iconsFlag_ && kind != 0) {
        textLeft = r.left() + lb::kIconSize.width + 10;
        for (size_t i = 0; i < lb::kIcons.size(); ++i) {
            if (lb::kIcons[i].kind != kind) continue;
            const QImage& icon = selected ? icons_[i].selected : icons_[i].normal;
            if (!icon.isNull())
                p.drawImage(QRect(r.left() + 5, r.top() + 1, lb::kIconSize.width, lb::kIconSize.height), icon);
        }
    }
    p.setPen(!isEnabled() ? palette().color(QPalette::Dark) : selected ? selectedText_ : text_);
    const QRect textRect(textLeft, r.top(), r.right() + 1 - textLeft, r.height());
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               p.fontMetrics().elidedText(rows_[static_cast<size_t>(index)].text, Qt::ElideRight, textRect.width()));
}

void CListBoxEx::repaintRow(int index) {
    if (index >= 0 && index < count()) viewport()->update(rowRect(index));
}

void CListBoxEx::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), listBackground());
    p.setFont(font());
    for (int i = topRow(); i < count() && rowRect(i).top() < viewport()->height(); ++i) drawRow(p, i);
}

void CListBoxEx::resizeEvent(QResizeEvent* e) {
    updateScrollRange();
    QAbstractScrollArea::resizeEvent(e);
}

void CListBoxEx::notify(uint32_t message, int index) {
    QObject* window = useTarget_ ? notifyTarget_.data() : owner_.data();
    if (MessagePort* port = MessagePort::of(window)) port->post(message, static_cast<uintptr_t>(id_), index);
}

void CListBoxEx::selectByUser(int index) {
    setSelection(index);
    notify(msg::kListSelectionChanged, selection_);
}

void CListBoxEx::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    const int index = rowAt(e->position().toPoint());
    if (index >= 0) selectByUser(index);
}

void CListBoxEx::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    const int index = rowAt(e->position().toPoint());
    if (doubleClickEditing_ && !editingList && index >= 0) openEditor(index);
}

void CListBoxEx::mouseMoveEvent(QMouseEvent* e) {
    if (editor_) return;
    const int index = rowAt(e->position().toPoint());
    if (index == hotRow_) return;
    repaintRow(hotRow_);
    hotRow_ = index;
    repaintRow(hotRow_);
}

void CListBoxEx::leaveEvent(QEvent* e) {
    // The pointer is over no row any more.
    repaintRow(hotRow_);
    hotRow_ = -1;
    QAbstractScrollArea::leaveEvent(e);
}

void CListBoxEx::keyPressEvent(QKeyEvent* e) {
    const int last = count() - 1;
    int target;
    switch (e->key()) {
        case Qt::Key_Up: target = std::max(selection_ - 1, 0); break;
        case Qt::Key_Down: target = std::min(selection_ + 1, last); break;
        case Qt::Key_PageUp: target = std::max(selection_ - visibleRows(), 0); break;
        case Qt::Key_PageDown: target = std::min(std::max(selection_, 0) + visibleRows(), last); break;
        case Qt::Key_Home: target = 0; break;
        case Qt::Key_End: target = last; break;
        default: QAbstractScrollArea::keyPressEvent(e); return;
    }
    if (count() > 0 && target != selection_) selectByUser(target);
}

void CListBoxEx::openEditor(int index) {
    editedRow_ = index;
    const QString current = rows_[static_cast<size_t>(index)].text;
    editor_ = new QLineEdit(viewport());
    editor_->setFrame(true);
    editor_->setFont(font());
    editor_->setValidator(new EditLimit(current.size(), editor_));
    editor_->setText(current);
    editor_->setGeometry(rowRect(index));
    editor_->selectAll();
    editor_->installEventFilter(this);
    editor_->show();
    editor_->setFocus(Qt::OtherFocusReason);
    editingList = this;
    // A press on a window that takes no focus (the skinned buttons) still
    // ends the edit, as a click elsewhere does.
    qApp->installEventFilter(this);
}

void CListBoxEx::closeEditor() {
    qApp->removeEventFilter(this);
    QLineEdit* editor = editor_;
    editor_ = nullptr;
    editingList = nullptr;
    editor->removeEventFilter(this);
    const bool hadFocus = editor->hasFocus();
    editor->hide();
    editor->deleteLater();
    if (hadFocus) setFocus(Qt::OtherFocusReason);
}

void CListBoxEx::commitEdit() {
    const int row = editedRow_;
    const QString text = editor_->text();
    closeEditor();
    rows_[static_cast<size_t>(row)].text = text;
    setSelection(row);
    viewport()->update();
    notify(msg::kListRowRenamed, row);
    editedRow_ = -1;
}

void CListBoxEx::cancelEdit() {
    const int row = editedRow_;
    closeEditor();
    editedRow_ = -1;
    setSelection(row);
    viewport()->update();
}

bool CListBoxEx::eventFilter(QObject* watched, QEvent* e) {
    if (!editor_) return QAbstractScrollArea::eventFilter(watched, e);
    if (watched == editor_) {
        switch (e->type()) {
            case QEvent::KeyPress: {
                // Swallowed so that no dialog takes them as OK or Cancel; the
                // release decides.
                const int key = static_cast<QKeyEvent*>(e)->key();
                if (isEnter(key) || key == Qt::Key_Escape) return true;
                break;
            }
            case QEvent::KeyRelease: {
                const int key = static_cast<QKeyEvent*>(e)->key();
                if (isEnter(key)) {
                    commitEdit();
                    return true;
                }
                if (key == Qt::Key_Escape) {
                    cancelEdit();
                    return true;
                }
                break;
            }
            case QEvent::FocusOut:
                // The editor's own context menu does not end the edit.
                if (static_cast<QFocusEvent*>(e)->reason() != Qt::PopupFocusReason) commitEdit();
                break;
            default: break;
        }
        return false;
    }
    if (e->type() == QEvent::MouseButtonPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget != editor_ && !editor_->isAncestorOf(widget) && widget->window()->windowType() != Qt::Popup)
            commitEdit();
    }
    return false;
}

}  // namespace q30x
