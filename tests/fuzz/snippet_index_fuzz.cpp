// HEAD.DAT / FOOT.DAT and the snippet bodies: the index record codec and the store over any index file.
// Input: a 16-bit index length, the index bytes, a name run, then the body text.

#include "core/store/record_fields.h"
#include "core/store/snippet_store.h"
#include "core/store/text_lines.h"
#include "fuzz_support.h"

using namespace kelvano;
using kelvano::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::InputReader reader(data, size);
    const QByteArrayView index = reader.bytes(reader.word());
    const QByteArrayView name = reader.shortRun();
    const QList<QByteArray> body = splitLines(reader.rest());

    const qsizetype wholeRecords = index.size() / SnippetIndexRecord::Size;
    QList<SnippetEntry> live;
    for (qsizetype n = 0; n < wholeRecords; ++n) {
        const SnippetIndexRecord record =
            SnippetIndexRecord::decode(index.sliced(n * SnippetIndexRecord::Size, SnippetIndexRecord::Size));
        require(record.SnippetName.size() <= SnippetIndexRecord::NameCapacity,
                "a name holds at most 80 bytes");
        const QByteArray encoded = record.encode();
        require(encoded.size() == SnippetIndexRecord::Size, "an index record encodes to 82 bytes");
        const SnippetIndexRecord again = SnippetIndexRecord::decode(encoded);
        require(again.SnippetName == record.SnippetName && again.Deleted == record.Deleted,
                "a decoded index record survives its encoding");
        if (!record.Deleted) {
            live.append({static_cast<int>(n), record.SnippetName});
        }
    }

    const QString folder = fuzz::scratchFolder();
    const SnippetStore store(folder, SnippetKind::Header);
    fuzz::writeFile(store.indexPath(), index);
    require(store.loadEntries() == live, "the live records are listed in order, a torn tail ignored");
    for (const SnippetEntry& entry : live) {
        const std::optional<Snippet> snippet = store.read(entry.number);
        require(snippet && snippet->name == entry.name && !snippet->body, "a snippet without a body reads");
    }

    const std::optional<int> number = store.registerSnippet(name, body);
    require(number == wholeRecords, "a new snippet takes the next number");
    const std::optional<Snippet> registered = store.read(*number);
    require(registered && registered->name == cutToCapacity(name, SnippetIndexRecord::NameCapacity),
            "a registered name reads back, cut to 80 bytes");
    require(registered->body == body, "a registered body reads back line for line");
    live.append({*number, registered->name});
    require(store.loadEntries() == live, "a registered snippet is listed last");

    require(store.remove(*number), "a snippet can be removed");
    live.removeLast();
    require(store.loadEntries() == live, "a removed snippet is no longer listed");
    require(store.read(*number)->body == body, "a removed snippet keeps its body file");
    return 0;
}
