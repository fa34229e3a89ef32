#pragma once
#include <QJsonDocument>
#include <QJsonParseError>
#include <string>

namespace q30x::test {

// Parses a command's --json output with an independent reader; a null
// document (with `error` set) when it is not valid JSON.
inline QJsonDocument parseJson(const std::string& text, QJsonParseError* error = nullptr) {
    QJsonParseError local;
    QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(text), error ? error : &local);
    return document;
}

}  // namespace q30x::test
