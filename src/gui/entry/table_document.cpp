#include "gui/entry/table_document.h"

#include "core/store/table_lock.h"
#include "core/table/table_data_model.h"
#include "core/table/table_layers_file.h"

#include <QUndoStack>

namespace kelvano {

TableDocument::TableDocument(QObject* parent)
    : QObject(parent), m_model(new TableDataModel(this)), m_undo(new QUndoStack(this)) {}

TableDocument::~TableDocument() = default;

TableDataFiles TableDocument::files() const {
    return TableDataFiles::fromStored(m_source.settings.DataFolder, m_source.fileName);
}

TableDocument::Opening TableDocument::open(const Source& source) {
    const TableDataFiles files = TableDataFiles::fromStored(source.settings.DataFolder, source.fileName);
    std::unique_ptr<TableLock> lock;
    const bool sameTable = m_lock && m_lock->isHeld() && m_lock->path() == files.lockPath();
    if (!sameTable) {
        lock = std::make_unique<TableLock>(files);
        // A folder where no lock file can be made (one that cannot be written) is opened without one.
        if (lock->take() == TableLock::Taking::HeldElsewhere) {
            return Opening::InUse;
        }
    }
    TableLayersFile::Loaded loaded = TableLayersFile::load(files, source.columnCount);
    if (loaded.state == TableLayersFile::Opening::Unavailable) {
        return Opening::Unavailable;
    }
    if (lock) {
        m_lock = std::move(lock);
    }
    m_source = source;
    m_source.columnCount = loaded.layers.columnCount();
    m_stamp.reset();
    if (loaded.state != TableLayersFile::Opening::Unreadable) {
        m_stamp = FileStamp::of(files.tablePath());
    }
    m_model->setLayers(std::move(loaded.layers));
    m_undo->clear();
    switch (loaded.state) {
    case TableLayersFile::Opening::Read:
        return Opening::Read;
    case TableLayersFile::Opening::Created:
        return Opening::Created;
    case TableLayersFile::Opening::Unreadable:
    case TableLayersFile::Opening::Unavailable:
        break;
    }
    return Opening::Unreadable;
}

void TableDocument::raiseColumnCount(int count) {
    m_model->raiseColumnCount(count);
    m_source.columnCount = m_model->columnCount();
}

void TableDocument::close() {
    m_lock.reset();
}

bool TableDocument::holdsLock() const {
    return m_lock && m_lock->isHeld();
}

bool TableDocument::isModified() const {
    return !m_undo->isClean();
}

void TableDocument::markUnmodified() {
    m_model->setUnmodified();
    m_undo->setClean();
}

TableDocument::Saving TableDocument::save(Overwrite overwrite) {
    const TableDataFiles files = this->files();
    if (overwrite == Overwrite::IfUnchanged && m_stamp &&
        FileStamp::changedSince(files.tablePath(), *m_stamp)) {
        return Saving::ChangedOnDisk;
    }
    m_saveError.reset();
    try {
        TableLayersFile::save(files, m_model->layers());
    } catch (const IoError& error) {
        m_saveError = error;
        return Saving::Failed;
    }
    m_stamp = FileStamp::of(files.tablePath());
    markUnmodified();
    return Saving::Saved;
}

} // namespace kelvano
