// TAVELO.DAT: the settings record codec and the file, whatever bytes the file holds.

#include "core/store/io_error.h"
#include "core/store/settings_file.h"
#include "fuzz_support.h"

using namespace kelvano;
using kelvano::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const bool whole = input.size() >= SettingsRecord::Size;
    if (whole) {
        const SettingsRecord settings = SettingsRecord::decode(input.first(SettingsRecord::Size));
        const QByteArray encoded = settings.encode();
        require(encoded.size() == SettingsRecord::Size, "settings encode to one record");
        require(SettingsRecord::decode(encoded) == settings, "decoded settings survive their encoding");
        for (const QByteArray* field :
             {&settings.DataFolder, &settings.HtmlFolder, &settings.ImageFolder, &settings.ServerImagePath}) {
            require(field->size() <= SettingsRecord::FieldCapacity, "a field holds at most its capacity");
        }
    }

    const QString folder = fuzz::scratchFolder();
    fuzz::writeFile(folder + SettingsFile::FileName, input);
    const LoadedSettings loaded = SettingsFile::load(folder);
    if (whole) {
        require(loaded.state == SettingsFileState::Read, "a whole record is read");
        require(loaded.settings == SettingsRecord::decode(input.first(SettingsRecord::Size)),
                "the first record is the settings");
    } else {
        require(loaded.state == SettingsFileState::Short, "a short file is reported");
        require(loaded.settings == SettingsFile::defaults(folder), "a short file gives the defaults");
        require(fuzz::readFile(folder + SettingsFile::FileName).isEmpty(), "a short file is made anew");
    }

    // What was read is saved as one record and read back unchanged.
    SettingsFile::save(folder, loaded.settings); // an IoError ends the run
    require(fuzz::readFile(folder + SettingsFile::FileName) == loaded.settings.encode(),
            "the file holds one record");
    const LoadedSettings reloaded = SettingsFile::load(folder);
    require(reloaded.state == SettingsFileState::Read && reloaded.settings == loaded.settings,
            "saved settings load unchanged");
    return 0;
}
