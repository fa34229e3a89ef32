#pragma once
#include <QFont>
#include <QImage>
#include <QWidget>
#include <vector>

namespace q30x {

class MessagePort;

// A borderless translucent popup that lists items and reports a click on
// one to its parent; it closes as soon as it loses activation, tells the
// parent with (notification, 0, 0) and deletes itself.
class CWndPopup : public QWidget {
public:
    explicit CWndPopup(QWidget* parent);

    void setBackground(int resourceId);
    void setBackground(const QImage& image);
    // Screen rectangle; fills the items, shows and activates the popup.
    void create(int left, int top, int right, int bottom, uint32_t notification);

    // The frame as it goes to the screen.
    QImage render() const;
    // Takes kClose (the main window closes the popup after a choice).
    MessagePort* port() const { return port_; }

protected:
    virtual void fillItems() {}
    virtual void drawTexts(QPainter&, const QRect&) const {}
    virtual void drawIcons(QPainter&, const QRect&) const {}
    virtual bool onHover(const QPoint&) { return false; }
    virtual bool onPress(const QPoint&) { return false; }
    virtual bool onRelease(const QPoint&) { return false; }

    void notifyParent(intptr_t lParam);
    const QFont& itemFont() const { return font_; }

    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    MessagePort* port_;
    bool pressed_ = false;
    QImage background_;
    QFont font_;
    uint32_t notification_ = 0;
    bool closeNoticeSent_ = false;
};

// The item list: icons and texts in rows of 22 pixels.
class CMenuEx : public CWndPopup {
public:
    struct Item {
        int32_t command;
        QImage icon;
        QString text;
        QRect rect;
    };

    using CWndPopup::CWndPopup;
    void addItem(const QString& text, int iconResourceId, int32_t command);
    void addItem(const QString& text, const QImage& icon, int32_t command);
    const std::vector<Item>& items() const { return items_; }
    int hovered() const { return hovered_; }

protected:
    void drawTexts(QPainter& p, const QRect& r) const override;
    void drawIcons(QPainter& p, const QRect& r) const override;
    bool onHover(const QPoint& p) override;
    bool onRelease(const QPoint& p) override;

private:
    std::vector<Item> items_;
    int hovered_ = -1;
};

// The language popup: the twelve languages, reported as message 1025
// (0, language number) to the main window.
class CMenuExA : public CMenuEx {
public:
    using CMenuEx::CMenuEx;
    // Opens above the language button (screen rectangle).
    static CMenuExA* open(QWidget* mainWindow, const QRect& languageButton);

protected:
    void fillItems() override;
};

}  // namespace q30x
