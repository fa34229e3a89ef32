#include "skin/menu_library.h"

#include <QFileInfo>

namespace q30x {

MenuLibrary::Result MenuLibrary::load(const QString& file) {
    create_ = nullptr;
    destroy_ = nullptr;
    preTranslate_ = nullptr;
    library_.setFileName(file);
    library_.setLoadHints(QLibrary::PreventUnloadHint);
    if (!library_.load()) {
        error_ = library_.errorString();
        return Result::NotFound;
    }
    preTranslate_ = reinterpret_cast<DllPreTranslateMessageFn>(library_.resolve("DllPreTranslateMessage"));
    create_ = reinterpret_cast<CreateMenuExFn>(library_.resolve("CreateMenuEx"));
    destroy_ = reinterpret_cast<DestroyMenuExFn>(library_.resolve("DestroyMenuEx"));
    if (!create_ || !destroy_) {
        error_ = QStringLiteral("%1 lacks CreateMenuEx or DestroyMenuEx").arg(file);
        create_ = nullptr;
        destroy_ = nullptr;
        return Result::MissingExport;
    }
    error_.clear();
    return Result::Loaded;
}

MenuLibrary::Result MenuLibrary::loadDefault(const QString& programFolder) {
    const QString beside = programFolder + QStringLiteral("/libMenuEx.so");
    return load(QFileInfo::exists(beside) ? beside : QStringLiteral("MenuEx"));
}

}  // namespace q30x
