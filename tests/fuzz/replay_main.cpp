// Replays inputs through a fuzz target without libFuzzer: every file named, and every file in every
// folder named, in name order. A crash input added to a target's corpus thus stays a test.

#include "fuzz_support.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

int main(int argc, char** argv) {
    QStringList inputs;
    for (int i = 1; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        if (QFileInfo(path).isDir()) {
            const QDir folder(path);
            for (const QString& name : folder.entryList(QDir::Files, QDir::Name)) {
                inputs.append(folder.filePath(name));
            }
        } else {
            inputs.append(path);
        }
    }
    if (inputs.isEmpty()) {
        std::fprintf(stderr, "no inputs to replay\n");
        return 1;
    }
    for (const QString& input : inputs) {
        QFile file(input);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(input));
            return 1;
        }
        const QByteArray bytes = file.readAll();
        std::fprintf(stderr, "replaying %s (%lld bytes)\n", qPrintable(input),
                     static_cast<long long>(bytes.size()));
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                               static_cast<std::size_t>(bytes.size()));
    }
    std::fprintf(stderr, "replayed %lld inputs\n", static_cast<long long>(inputs.size()));
    return 0;
}
