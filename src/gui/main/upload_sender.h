#pragma once

#include "core/store/settings_record.h"

#include <QList>
#include <QString>

class QWidget;

namespace kelvano {

/// "サーバーへ送信": sends the written pages of the tables given and their pictures to the server of
/// KELVANO.INI, only what changed, off the window's thread with a progress dialog and "中止", and
/// tells what happened: pages not written yet and missing pictures first, then the summary, each
/// failure with its file and the server's reason.
void sendToServer(QWidget* owner, const QString& programFolder, const SettingsRecord& folders,
                  const QList<int>& definitionNumbers);

} // namespace kelvano
