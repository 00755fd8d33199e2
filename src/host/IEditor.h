#pragma once

#include <QObject>

class IDocument;
class QWidget;

// An editor shows one document in a sub-window of the main window's MDI area.
class IEditor : public QObject
{
    Q_OBJECT
public:
    explicit IEditor(QObject *pParent = nullptr);
    ~IEditor() override;

    IDocument *getDocument() const { return m_pDocument; }
    // Attaches the document (not owned) and emits documentLoaded.
    virtual void setDocument(IDocument *pDocument);
    virtual QWidget *widget() const = 0;
    virtual QString title() const;

signals:
    void documentLoaded();
    void documentDataChanged(QObject *pInfo);
    void documentUnloading();
    void aboutToActivate();
    void aboutToDeactivate();

private:
    IDocument *m_pDocument = nullptr;
};
