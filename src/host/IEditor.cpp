#include "IEditor.h"

#include "IDocument.h"

#include <QFileInfo>

IEditor::IEditor(QObject *pParent)
    : QObject(pParent)
{
}

IEditor::~IEditor() = default;

void IEditor::setDocument(IDocument *pDocument)
{
    if (m_pDocument == pDocument)
        return;
    if (m_pDocument) {
        emit documentUnloading();
        disconnect(m_pDocument, nullptr, this, nullptr);
    }
    m_pDocument = pDocument;
    if (m_pDocument) {
        connect(m_pDocument, &IDocument::dataChanged, this, &IEditor::documentDataChanged);
        emit documentLoaded();
    }
}

QString IEditor::title() const
{
    return m_pDocument ? QFileInfo(m_pDocument->getFileName()).fileName() : QString();
}
