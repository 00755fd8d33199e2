#include "IDocument.h"

#include <QUndoStack>

IDocument::IDocument(QObject *pParent)
    : QObject(pParent)
    , m_pUndoStack(new QUndoStack(this))
{
    connect(m_pUndoStack, &QUndoStack::cleanChanged, this, [this](bool bClean) { emit modifyChanged(!bClean); });
}

IDocument::~IDocument() = default;

void IDocument::setFileName(const QString &strFileName)
{
    if (m_strFileName == strFileName)
        return;
    m_strFileName = strFileName;
    emit titleChanged();
}

bool IDocument::isModified() const
{
    return !m_pUndoStack->isClean();
}

void IDocument::submitCommand(QUndoCommand *pCommand)
{
    m_pUndoStack->push(pCommand);
}

bool IDocument::requestClosing(bool)
{
    return true;
}

void IDocument::close()
{
    emit aboutToClose();
}
