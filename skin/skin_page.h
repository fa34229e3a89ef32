#pragma once
#include <QImage>
#include <QString>
#include <QWidget>
#include <array>
#include <string_view>

namespace q30x {

class MessagePort;

// A page of the main window: a child window over the page rectangle that
// shows the normal of its three full-page skin images (normal, pressed,
// hover) and talks through its own message port. The pages' controls cut
// their looks from the same three images.
class CSkinPage : public QWidget {
public:
    // `files` are the three images under "skins/" of the program folder.
    CSkinPage(const QString& programFolder, const std::array<std::string_view, 3>& files, QWidget* parent);
    // A page of another window: placed at `rect` of its parent, its images that size.
    CSkinPage(const QString& programFolder, const std::array<std::string_view, 3>& files, const QRect& rect,
              QWidget* parent);

    MessagePort* port() const { return port_; }
    const QImage& normalImage() const { return normal_; }
    // The pressed and hover pages are read when a control first cuts its
    // looks from them; releaseStateImages() lets them go once it has.
    const QImage& pressedImage() const;
    const QImage& hoverImage() const;
    void releaseStateImages();

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString folder_;
    std::array<std::string_view, 3> files_;
    MessagePort* port_;
    QImage normal_;
    mutable QImage pressed_, hover_;
};

}  // namespace q30x
