#include "core/store/program_settings.h"

#include <QSettings>

namespace kelvano::ProgramSettings {
namespace {

const QString PageEncodingKey = QStringLiteral("Pages/Encoding");
const QString PageMarkupKey = QStringLiteral("Pages/Markup");

QString filePath(const QString& programFolder) {
    return programFolder + FileName;
}

} // namespace

QString pageEncodingName(PageEncoding encoding) {
    return encoding == PageEncoding::Utf8 ? QStringLiteral("UTF-8") : QStringLiteral("Shift_JIS");
}

std::optional<PageEncoding> pageEncodingFromName(QStringView name) {
    for (const PageEncoding encoding : {PageEncoding::ShiftJis, PageEncoding::Utf8}) {
        if (name.compare(pageEncodingName(encoding), Qt::CaseInsensitive) == 0) {
            return encoding;
        }
    }
    return std::nullopt;
}

PageEncoding pageEncoding(const QString& programFolder) {
    const QSettings file(filePath(programFolder), QSettings::IniFormat);
    return pageEncodingFromName(file.value(PageEncodingKey).toString()).value_or(PageEncoding::ShiftJis);
}

bool setPageEncoding(const QString& programFolder, PageEncoding encoding) {
    QSettings file(filePath(programFolder), QSettings::IniFormat);
    file.setValue(PageEncodingKey, pageEncodingName(encoding));
    file.sync();
    return file.status() == QSettings::NoError;
}

QString pageMarkupName(PageMarkup markup) {
    return markup == PageMarkup::Html5 ? QStringLiteral("HTML5") : QStringLiteral("Classic");
}

std::optional<PageMarkup> pageMarkupFromName(QStringView name) {
    for (const PageMarkup markup : {PageMarkup::Classic, PageMarkup::Html5}) {
        if (name.compare(pageMarkupName(markup), Qt::CaseInsensitive) == 0) {
            return markup;
        }
    }
    return std::nullopt;
}

PageMarkup pageMarkup(const QString& programFolder) {
    const QSettings file(filePath(programFolder), QSettings::IniFormat);
    return pageMarkupFromName(file.value(PageMarkupKey).toString()).value_or(PageMarkup::Classic);
}

bool setPageMarkup(const QString& programFolder, PageMarkup markup) {
    QSettings file(filePath(programFolder), QSettings::IniFormat);
    file.setValue(PageMarkupKey, pageMarkupName(markup));
    file.sync();
    return file.status() == QSettings::NoError;
}

} // namespace kelvano::ProgramSettings
