#include "core/store/scratch_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace kelvano {
namespace {

/// Seven base-36 digits: every 32-bit number has at most seven.
QString randomPart() {
    return QString::number(QRandomGenerator::global()->generate(), 36).rightJustified(7, QLatin1Char('0'));
}

const QString ScratchEnd = QStringLiteral(".tmp");
constexpr qsizetype RandomPartWithDots = 1 + 7;

qsizetype longestNameIn(const QString& folder) {
    const long longest = ::pathconf(QFile::encodeName(folder).constData(), _PC_NAME_MAX);
    return longest > 0 ? longest : 255;
}

/// The longest start of `name` whose file-system bytes fit `bytes`, cut between characters.
QString cutToBytes(const QString& name, qsizetype bytes) {
    QString cut = name;
    while (!cut.isEmpty() && QFile::encodeName(cut).size() > bytes) {
        cut.chop(cut.size() >= 2 && cut.back().isLowSurrogate() ? 2 : 1);
    }
    return cut;
}

} // namespace

ScratchClaim::ScratchClaim(const QString& folder)
    : m_folder(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (m_folder >= 0) {
        share();
    }
}

ScratchClaim::~ScratchClaim() {
    if (m_folder >= 0) {
        ::close(m_folder); // releases the lock
    }
}

ScratchClaim::ScratchClaim(ScratchClaim&& other) noexcept : m_folder(std::exchange(other.m_folder, -1)) {}

ScratchClaim& ScratchClaim::operator=(ScratchClaim&& other) noexcept {
    std::swap(m_folder, other.m_folder);
    return *this;
}

bool ScratchClaim::takeAlone() {
    return m_folder >= 0 && ::flock(m_folder, LOCK_EX | LOCK_NB) == 0;
}

void ScratchClaim::share() {
    ::flock(m_folder, LOCK_SH);
}

QString scratchNameBeside(const QString& path) {
    const QFileInfo info(path);
    const QString folder = path.left(path.size() - info.fileName().size());
    const qsizetype room = longestNameIn(folder.isEmpty() ? QStringLiteral(".") : folder) -
                           RandomPartWithDots - ScratchEnd.size();
    return folder + cutToBytes(info.fileName(), room) + QLatin1Char('.') + randomPart() + ScratchEnd;
}

LeftScratchFiles removeLeftScratchFiles(const QString& folder) {
    static const QRegularExpression scratchName(QStringLiteral("^.+\\.[0-9a-z]{7}\\.tmp$"));
    LeftScratchFiles removed;
    if (folder.isEmpty()) {
        return removed; // no folder set: never the current one
    }
    ScratchClaim claim(folder);
    claim.whileUnclaimedElsewhere([&] {
        const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
        for (const QString& name : names) {
            if (!scratchName.match(name).hasMatch()) {
                continue;
            }
            const QByteArray path = QFile::encodeName(QDir(folder).filePath(name));
            struct stat status {};
            if (::lstat(path.constData(), &status) != 0 || !S_ISREG(status.st_mode) ||
                status.st_uid != ::geteuid()) {
                continue;
            }
            if (::unlink(path.constData()) == 0) {
                ++removed.count;
                removed.bytes += status.st_size;
            }
        }
    });
    return removed;
}

} // namespace kelvano
