#pragma once

class QString;

namespace kelvano {

struct TableDefinition;

/// What the formatting dialogs ask of the window that edits table definitions (the main window): the
/// definition being edited and where it is stored.
class DefinitionHost {
public:
    /// Gathers the definition being edited from the host's fields and every formatting dialog.
    virtual void GatherDefinition() = 0;
    virtual TableDefinition& currentDefinition() = 0;
    /// The stored number of the definition being edited; -1 when no stored definition is selected.
    virtual int editedNumber() const = 0;
    virtual const QString& programFolder() const = 0;

protected:
    ~DefinitionHost() = default;
};

/// What the definition-editing window asks of each formatting dialog as a definition is loaded,
/// emptied for a new one, and gathered for storing.
class DefinitionPage {
public:
    virtual void loadDefinition(const TableDefinition& definition) = 0;
    virtual void resetControls() = 0;
    virtual void gatherInto(TableDefinition& definition) const = 0;

protected:
    ~DefinitionPage() = default;
};

} // namespace kelvano
