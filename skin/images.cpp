#include "skin/images.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <QImageReader>
#include <QPainter>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <optional>
#include <thread>

// Q_INIT_RESOURCE must be used outside a namespace.
static void initBuiltinResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(builtin);
        return true;
    }();
    (void)done;
}

namespace q30x {

namespace {

QImage readSkinFile(const QString& path) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    QImage image = reader.read();
    if (image.isNull()) return {};
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                         : QImage::Format_RGB32);
}

QImage readBuiltin(int id) {
    QImage image(QStringLiteral(":/builtin/%1.png").arg(id));
    return image.isNull() ? image : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QString builtinKey(int id) { return QStringLiteral(":/builtin/%1").arg(id); }

// Decodes started ahead by preloadImages, by path (built-ins by builtinKey).
// Only the window's thread adds and takes entries.
std::map<QString, std::shared_future<QImage>>& preloaded() {
    static std::map<QString, std::shared_future<QImage>> images;
    return images;
}

std::optional<QImage> takePreloaded(const QString& key) {
    auto found = preloaded().find(key);
    if (found == preloaded().end()) return std::nullopt;
    QImage image = found->second.get();
    preloaded().erase(found);
    return image;
}

}  // namespace

void preloadImages(const QString& programFolder, const QStringList& skinFiles, const std::vector<int>& builtinIds) {
    initBuiltinResources();
    std::vector<std::pair<QString, std::function<QImage()>>> jobs;
    for (const QString& file : skinFiles) {
        const QString path = programFolder + QLatin1Char('/') + file;
        jobs.emplace_back(path, [path] { return readSkinFile(path); });
    }
    for (int id : builtinIds) jobs.emplace_back(builtinKey(id), [id] { return readBuiltin(id); });
    // Two workers take turns through the list, so what is needed first is ready first.
    constexpr std::size_t kWorkers = 2;
    auto promises = std::make_shared<std::vector<std::promise<QImage>>>(jobs.size());
    for (std::size_t i = 0; i < jobs.size(); ++i) preloaded()[jobs[i].first] = (*promises)[i].get_future().share();
    // Joined at exit, so no decode outlives what it reads.
    static struct Workers {
        std::vector<std::thread> threads;
        ~Workers() {
            for (auto& t : threads) t.join();
        }
    } workers;
    for (std::size_t worker = 0; worker < kWorkers; ++worker)
        workers.threads.emplace_back([jobs, promises, worker] {
            for (std::size_t i = worker; i < jobs.size(); i += kWorkers) (*promises)[i].set_value(jobs[i].second());
        });
}

QImage loadSkinImage(const QString& programFolder, const QString& relativePath) {
    const QString path = programFolder + QLatin1Char('/') + relativePath;
    if (auto image = takePreloaded(path)) return *image;
    return readSkinFile(path);
}

QImage builtinImage(int id) {
    // Decoded once: eleven buttons share each full-window picture, and a
    // QImage copy shares its pixels until someone writes to them.
    static std::map<int, QImage> decoded;
    if (auto found = decoded.find(id); found != decoded.end()) return found->second;
    initBuiltinResources();
    auto image = takePreloaded(builtinKey(id));
    return decoded[id] = image ? *image : readBuiltin(id);
}

QImage cut(const QImage& source, const QRect& rect) {
    if (!source.isNull() && source.rect().contains(rect)) return source.copy(rect);
    return orPlaceholder({}, rect.size());
}

QImage orPlaceholder(const QImage& image, QSize size) {
    if (!image.isNull()) return image;
    QImage placeholder(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    placeholder.fill(kPlaceholderColour);
    return placeholder;
}

QRect toQRect(const layout::Rect& r) { return QRect(r.left, r.top, r.width(), r.height()); }

QRect workArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

QPoint centredInWorkArea(QSize size) {
    const QRect area = workArea();
    return QPoint(area.left() + (area.width() - size.width()) / 2, area.top() + (area.height() - size.height()) / 2);
}

void installFontSubstitutes() {
    const QStringList sans{QStringLiteral("DejaVu Sans"), QStringLiteral("WenQuanYi Micro Hei"),
                           QStringLiteral("Sans Serif")};
    QFont::insertSubstitutions(QStringLiteral("MS Shell Dlg"), sans);
    QFont::insertSubstitutions(QStringLiteral("Arial"), sans);
}

QFont skinFont(const QString& family, int cellHeight, int weight) {
    QFont font(family);
    font.setStyleHint(QFont::SansSerif);
    // A GDI cell height holds the internal leading as well; the em is about
    // six sevenths of it.
    font.setPixelSize(std::max(1, cellHeight * 6 / 7));
    // GDI draws weights below 550 of a font without light faces in its
    // regular face; so do we, instead of DejaVu's hairline ExtraLight.
    font.setWeight(weight >= 550 ? QFont::Bold : QFont::Normal);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

void drawTextLine(QPainter& p, const QRect& r, const QString& text, Qt::Alignment horizontal) {
    p.drawText(r, static_cast<int>(horizontal) | Qt::AlignVCenter | Qt::TextSingleLine,
               p.fontMetrics().elidedText(text, Qt::ElideRight, r.width()));
}

}  // namespace q30x
