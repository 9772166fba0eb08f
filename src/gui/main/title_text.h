#pragma once

#include <QDateTime>
#include <QStringList>

namespace kelvano::TitleText {

inline const QString ProjectName = QStringLiteral("Kelvano Project");
inline const QString HomePage = QStringLiteral("https://kelvano.example.org/");
inline const QString MailAddress = QStringLiteral("kelvano@example.org");

/// The link under the title page's text to the help's first steps.
inline const QString FirstStepsLink = QStringLiteral("はじめての方へ（ヘルプの目次）");

/// The title page's text on the first run: thanks, and the five first steps.
QStringList welcomeLines();
/// The title page's text on every later start: the greeting for the hour of `now`, and the birthday
/// lines on 1 March.
QStringList greetingLines(const QDateTime& now);

} // namespace kelvano::TitleText
