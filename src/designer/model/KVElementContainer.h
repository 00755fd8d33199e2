#pragma once

#include "model/KVElement.h"

#include <QHash>
#include <QStringList>

// The root of one stage's element tree (the scene builds on it): hands out element ids from its
// counter nextChildId and keeps element names unique within the tree.
//
// Ids: addElement() numbers a new tree in pre-order; ids are never reused, and ids that a pasted
// tree already carries are kept with the counter raised past them.
//
// Names: the container keeps an index of the names in its tree (updated when elements enter or
// leave the tree or are renamed) and, per name stem, the lowest "<stem>_<n>" that may still be free,
// so naming a new element costs about the same however many same-named elements the stage holds.
//
// Percent lengths of the root's children are taken against the root's own width and height.
class KVElementContainer : public KVElement
{
    Q_OBJECT

public:
    KVElementContainer();
    ~KVElementContainer() override;

    int nextChildId() const { return m_nNextChildId; }
    void setNextChildId(int n) { m_nNextChildId = n; }

    // Assigns ids to the tree, inserts it into pParent (this container when null or not in the
    // tree) at nIndex, then makes its names unique. Returns the index used.
    int addElement(KVElement *pElement, int nIndex = -1, KVElement *pParent = nullptr);
    // True when strName is the container's own name or the name of an element of its tree other
    // than pExcept and pExcept's subtree.
    bool isNameTaken(const QString &strName, const KVElement *pExcept = nullptr) const;
    // Depth-first search (each element before its children); null when no element has the id.
    KVElement *findElement(int nId) const;
    // While a file is read: the element that carried nId in the file, for the nOccurrence-th
    // (from 0) animation of a timeline layout that names it, looked up in the index that
    // renumberRepeatedIds() made. An id the file gave several elements gives them in tree order,
    // one per animation (the first again once they run out). Without an index, findElement(nId).
    KVElement *elementReadAs(int nId, int nOccurrence) const;
    // Gives every element after the first that carries an id already in the tree (depth first) a
    // new id from the counter, and indexes the file's ids for elementReadAs() until
    // forgetReadIds(). Returns one message per element renumbered.
    QStringList renumberRepeatedIds();
    void forgetReadIds() { m_hashReadIds.clear(); }
    // The name that makeUniqueName() gives pElement (which may be outside the tree: then only the
    // tree's names count).
    QString uniqueNameFor(const KVElement *pElement) const;

    int type() const override;
    KVElement *clone() const override;
    void init() override;
    // The root itself is named after its type when unnamed; then its children as usual.
    void makeUniqueName() override;
    double parentWidth(const KVLayoutKey &layout = KVLayoutKey::current()) const override;
    double parentHeight(const KVLayoutKey &layout = KVLayoutKey::current()) const override;
    KVElementContainer *asContainer() override { return this; }
    const KVElementContainer *asContainer() const override { return this; }

protected:
    // Copies the counter besides what the element clone copies.
    KVElementContainer *copyContainerInto(KVElementContainer *pTarget) const;

private:
    friend class KVElement;

    // Index maintenance, called by the elements of the tree.
    void registerSubtree(const KVElement *pElement);
    void unregisterSubtree(const KVElement *pElement);
    void elementRenamed(const KVElement *pElement, const QString &strOld, const QString &strNew);
    void addName(const QString &strName);
    void removeName(const QString &strName);
    // A name that has become free lowers the search start of its stem.
    void nameFreed(const QString &strName);

    int m_nNextChildId = 1;
    // While a file is read: id in the file -> the elements that carried it, in tree order.
    QHash<int, QList<KVElement *>> m_hashReadIds;
    // Name -> number of elements of the tree (the root left out) that carry it.
    QHash<QString, int> m_hashNameCounts;
    // Stem -> n such that every "<stem>_<k>" with 1 <= k < n is taken (a lower bound of the first
    // free suffix).
    mutable QHash<QString, int> m_hashStemNext;
};
