#pragma once

#include <QDateTime>
#include <QStringList>

namespace kelvano::TitleText {

inline const QString ProjectName = QStringLiteral("Kelvano Project");
inline const QString HomePage = QStringLiteral("https://kelvano.example.org/");
inline const QString MailAddress = QStringLiteral("kelvano@example.org");

/// The title page's text on the first run.
QStringList welcomeLines();
/// The title page's text on every later start: the greeting for the hour of `now`, and the birthday
/// lines on 1 March.
QStringList greetingLines(const QDateTime& now);

} // namespace kelvano::TitleText
