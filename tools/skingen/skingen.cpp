// skingen PROGRAM_FOLDER BUILTIN_FOLDER
// Draws every skin file of the program folder (both coordinate sets:
// skins/ the standard set, skins-sc/ the Simplified Chinese one), the
// desktop icons under icons/hicolor/ and every built-in bitmap with the Qt
// resource list that compiles them in.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>
#include <array>
#include <cstdio>
#include <string_view>
#include <tuple>
#include <vector>

#include "art.h"
#include "i18n/languages.h"
#include "skin/layout.h"

namespace {

namespace L = q30x::layout;
using skingen::State;

bool save(const QImage& image, const QString& path) {
    if (!QDir().mkpath(QFileInfo(path).path()) || !image.save(path)) {
        std::fprintf(stderr, "skingen: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

QImage canvas(L::Size s) {
    QImage img(s.width, s.height, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    return img;
}

template <class Draw>
QImage drawn(L::Size s, Draw draw) {
    QImage img = canvas(s);
    QPainter p(&img);
    draw(p, img.rect());
    return img;
}

QString fileName(std::string_view name) {
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

// The three looks of one full-page skin, in the layout's order of its files;
// `picture` draws one look.
template <class Picture>
bool writeSkin(const QString& skins, const std::array<std::string_view, 3>& files, Picture picture) {
    const State looks[3] = {State::Normal, State::Pressed, State::Hover};
    bool ok = true;
    for (size_t i = 0; i < files.size(); ++i) ok &= save(picture(looks[i]), skins + "/" + fileName(files[i]));
    return ok;
}

bool writeListIcons(const QString& skins) {
    bool ok = true;
    for (const auto& icons : L::listbox::kIcons)
        for (bool selected : {false, true}) {
            const std::string_view file = selected ? icons.selected : icons.normal;
            ok &= save(skingen::listIcon(icons.kind, selected),
                       skins + "/" + fileName(file));
        }
    return ok;
}

bool writeSkinSet(const QString& skins, bool chinese) {
    bool ok = save(skingen::sliderThumb(), skins + "/Slider.png");
    ok &= writeSkin(skins, L::mainwin::kFiles, skingen::mainWindow);
    const QImage page = skingen::pageBackground(QSize(L::kPageSize.width, L::kPageSize.height));
    namespace lp = L::pages;
    const L::SkinSet set = chinese ? L::SkinSet::Chinese : L::SkinSet::Standard;
    ok &= writeSkin(skins, lp::kMainSet, [set](State s) { return skingen::mainSetPage(set, s); });
    // The pages' controls sit where their coordinate set puts them.
    ok &= writeSkin(skins, lp::kLedSet, [set](State s) { return skingen::ledSetPage(s, set); });
    ok &= writeSkin(skins, lp::kMacro, [set](State s) { return skingen::macroPage(s, set); });
    ok &= writeSkin(skins, lp::kSts, [set](State s) { return skingen::statsPage(set, s); });
    ok &= writeSkin(skins, lp::kSupport, skingen::supportPage);
    for (int level = 0; level < L::sts::kLampCount; ++level)
        ok &= save(skingen::trophy(level), skins + "/" + fileName(L::sts::kTrophyFormat).arg(level));
    ok &= writeListIcons(skins);
    namespace ls = L::setting;
    ok &= writeSkin(skins, ls::kFiles, skingen::settingPopup);
    ok &= writeSkin(skins, ls::combo::kFiles, skingen::settingComboPage);
    ok &= writeSkin(skins, ls::macro::kFiles, [](State) { return skingen::settingMacroPage(); });
    ok &= writeSkin(skins, ls::base::kFiles, [](State) { return skingen::settingBasePage(); });
    ok &= writeSkin(skins, ls::advanced::kFiles, skingen::settingAdvancedPage);
    ok &= save(skingen::progressImage(false), skins + "/ProgressBar/Progress_Normal.png");
    ok &= save(skingen::progressImage(true), skins + "/ProgressBar/Progress_Over.png");
    const State states[3] = {State::Normal, State::Hover, State::Pressed};
    for (int i = 0; i < 6; ++i) {
        const QString file = fileName(L::menu::kFiles[static_cast<size_t>(i)]);
        ok &= save(skingen::menuItem(i >= 3, states[i % 3]), skins + "/Menu/" + file);
    }
    if (chinese) {
        QFile ini(skins + "/languagetype.ini");
        ok &= ini.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
              ini.write("[languagetype]\r\nvalue=1\r\n") > 0;
    }
    return ok;
}

bool writeBuiltins(const QString& folder) {
    std::vector<std::pair<int, QImage>> images;
    images.emplace_back(L::res::kAppIcon, drawn(L::kAppIconSize, skingen::drawAppIcon));
    images.emplace_back(L::res::kLanguagePopup, skingen::popupBackground());
    images.emplace_back(L::scrollbar::kBitmap, skingen::scrollBarBitmap());
    for (const q30x::Language& l : q30x::kLanguages) {
        images.emplace_back(l.popupIcon, drawn(L::kFlagIconSize, [&](QPainter& p, QRect r) { skingen::drawFlag(p, r, l.number); }));
        images.emplace_back(l.flagBitmap, drawn(L::kFlagBitmapSize, [&](QPainter& p, QRect r) { skingen::drawFlag(p, r, l.number); }));
    }
    images.emplace_back(L::res::kInfoQuestionNormal, skingen::infoBox(true, State::Normal));
    images.emplace_back(L::res::kInfoQuestionHover, skingen::infoBox(true, State::Hover));
    images.emplace_back(L::res::kInfoQuestionPressed, skingen::infoBox(true, State::Pressed));
    images.emplace_back(L::res::kInfoOkNormal, skingen::infoBox(false, State::Normal));
    images.emplace_back(L::res::kInfoOkHover, skingen::infoBox(false, State::Hover));
    images.emplace_back(L::res::kInfoOkPressed, skingen::infoBox(false, State::Pressed));
    images.emplace_back(L::res::kTrayExit, drawn(L::kTrayIconSize, skingen::drawPower));
    images.emplace_back(L::res::kTrayConfig, drawn(L::kTrayIconSize, skingen::drawGear));
    // Both interface sets get the same slanted buttons: the captions, the
    // only part that differs, are drawn at run time.
    namespace mr = L::mainwin::res;
    const QImage slantedNormal = skingen::slantedButtons(State::Normal);
    const QImage slantedHover = skingen::slantedButtons(State::Hover);
    const QImage slantedPressed = skingen::slantedButtons(State::Pressed);
    images.emplace_back(mr::kChineseNormal, slantedNormal);
    images.emplace_back(mr::kChineseHover, slantedHover);
    images.emplace_back(mr::kChinesePressed, slantedPressed);
    images.emplace_back(mr::kStandardNormal, slantedNormal);
    images.emplace_back(mr::kStandardHover, slantedHover);
    images.emplace_back(mr::kStandardPressed, slantedPressed);

    namespace sr = L::mainset::res;
    for (const auto& [set, normal, hover, pressed] :
         {std::tuple{L::SkinSet::Chinese, sr::kChineseNormal, sr::kChineseHover, sr::kChinesePressed},
          std::tuple{L::SkinSet::Standard, sr::kStandardNormal, sr::kStandardHover, sr::kStandardPressed}}) {
        images.emplace_back(normal, skingen::mainSetTabs(set, State::Normal));
        images.emplace_back(hover, skingen::mainSetTabs(set, State::Hover));
        images.emplace_back(pressed, skingen::mainSetTabs(set, State::Pressed));
    }

    bool ok = true;
    QString qrc;
    QTextStream out(&qrc);
    out << "<RCC>\n  <qresource prefix=\"/builtin\">\n";
    for (const auto& [id, image] : images) {
        ok &= save(image, QStringLiteral("%1/%2.png").arg(folder).arg(id));
        out << "    <file>" << id << ".png</file>\n";
    }
    out << "  </qresource>\n</RCC>\n";
    out.flush();
    QFile file(folder + "/builtin.qrc");
    ok &= file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(qrc.toUtf8()) > 0;
    return ok;
}

bool writeAppIcons(const QString& program) {
    bool ok = true;
    for (int n : L::kDesktopIconSizes)
        ok &= save(drawn(L::Size{n, n}, skingen::drawAppIcon),
                   QStringLiteral("%1/icons/hicolor/%2x%2/apps/q30x.png").arg(program, QString::number(n)));
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: skingen PROGRAM_FOLDER BUILTIN_FOLDER\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString program = QString::fromLocal8Bit(argv[1]);
    bool ok = writeSkinSet(program + "/skins", false);
    ok &= writeSkinSet(program + "/skins-sc", true);
    ok &= writeAppIcons(program);
    ok &= writeBuiltins(QString::fromLocal8Bit(argv[2]));
    return ok ? 0 : 1;
}
