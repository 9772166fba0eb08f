#pragma once

#include <QString>
#include <QStringList>
#include <cstdio>

namespace kelvano {

/// Whether the command line asks for `--upload`.
bool isUploadCommand(const QStringList& arguments);

/// kelvano-publish --upload: sends the written pages of the tables given and their pictures to the
/// server of KELVANO.INI, only what changed. Exit 0 when everything was sent, 1 when something was
/// not, 2 for arguments that cannot be used.
int runUploadCommand(const QStringList& arguments, const QString& executableFolder, std::FILE* out,
                     std::FILE* err);

} // namespace kelvano
