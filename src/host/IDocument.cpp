#include "IDocument.h"

#include "Reporter.h"

#include <QCoreApplication>
#include <QFileInfo>
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

bool IDocument::requestClosing(bool bCanCancel)
{
    // A temporary document (a recovered copy) is deleted at close unless it is saved: it asks too.
    if (!isModified() && !isTempDocument())
        return true;
    int buttons = IReporter::Save | IReporter::Discard;
    if (bCanCancel)
        buttons |= IReporter::Cancel;
    const QString name = QFileInfo(m_strFileName).fileName();
    const IReporter::Button answer = Reporter::question(
        QCoreApplication::translate("IDocument", "Save changes to %1 before closing?").arg(name), buttons,
        IReporter::Save);
    if (answer == IReporter::Discard)
        return true;
    // Anything else than Save (Cancel, the escape key) keeps the document open.
    return answer == IReporter::Save && save();
}

void IDocument::close()
{
    emit aboutToClose();
}
