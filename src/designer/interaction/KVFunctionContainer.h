#pragma once

#include <QCoreApplication>
#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QString>

class KVFunction;

// The user functions of one project, in order, and the counter from which new functions take
// their ids ("current_id": the last id given).
class KVFunctionContainer
{
    Q_DECLARE_TR_FUNCTIONS(KVFunctionContainer)

public:
    KVFunctionContainer();
    ~KVFunctionContainer();
    KVFunctionContainer(const KVFunctionContainer &) = delete;
    KVFunctionContainer &operator=(const KVFunctionContainer &) = delete;

    // Takes ownership of pFunction: makes its name unique, gives it the next id when it has none
    // (-1) and inserts it at nIndex, or appends it when nIndex is outside 0..count-1. Returns the
    // index used. A function whose name is not a valid JavaScript name is refused with a message
    // and -1 (the caller keeps it), as are null and a function already held.
    int insert(KVFunction *pFunction, int nIndex = -1);
    // Takes the function out without deleting it (the caller owns it again); its former index or -1.
    int remove(KVFunction *pFunction);
    // Deletes every function; the id counter is kept.
    void clear();

    KVFunction *findById(int nId) const;
    KVFunction *findByUuid(const QUuid &uuid) const;
    KVFunction *findByName(const QString &strName) const;
    const QList<KVFunction *> &functions() const { return m_functions; }
    int count() const { return m_functions.size(); }
    int indexOf(const KVFunction *pFunction) const { return m_functions.indexOf(const_cast<KVFunction *>(pFunction)); }

    int currentId() const { return m_nCurrentId; }
    void setCurrentId(int nCurrentId) { m_nCurrentId = nCurrentId; }

    // The candidate itself when no other function has it, else the candidate grown by "_0", "_1",
    // ... at each clash (name, name_0, name_0_1, ...). pExcept does not count as another function.
    QString uniqueName(const QString &strName, const KVFunction *pExcept = nullptr) const;
    bool isNameTaken(const QString &strName, const KVFunction *pExcept = nullptr) const;
    // Why a name cannot be given to pFunction: "Function name is empty!", "Function name is
    // invalid!" or "Function name is duplicated!"; empty when it can.
    QString nameProblem(const QString &strName, const KVFunction *pFunction = nullptr) const;

    // Brings functions of another project into this one, once per uuid: a function whose uuid is
    // here already is used as it is, any other is inserted as a copy with a new id (and, when
    // needed, a new name). Returns the id each old function id now stands for, for
    // KVEventListenerList::remapFunctions.
    QHash<int, int> carryFunctions(const QMap<int, const KVFunction *> &functions);

    // Project form: {"current_id", "functions": [...]}.
    QJsonObject toJson() const;
    // Replaces the functions by those of the project form, keeping their ids and names. A stored
    // name that JavaScript cannot declare is replaced by a valid one, with a message; the counter
    // is raised to the largest id read so that new functions cannot take a stored id.
    void fromJson(const QJsonObject &jo);

    // The script that declares every function for the player and lists it in the table f:
    // "var f = [];" then, per function, "var NAME = TEXT;" and "f.push([ID, \"NAME\", NAME]);".
    QString functionsTable() const;

private:
    QList<KVFunction *> m_functions;
    int m_nCurrentId;
};
