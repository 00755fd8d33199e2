#pragma once

#include <QObject>
#include <QPointer>
#include <QSet>

#include <functional>

#include "ui/code/KVEditingFunctionDialog.h"
#include "ui/code/KVFunctionPanel.h"

class ActionManager;
class IEditor;
class KVDocument;
class KVEditor;

// The plug-in's interaction tools: the event-action dialog, the functions panel in the "Functions"
// dock, the function editor and the copying of whole handler lists between elements. It connects
// the actions that open them and follows the active editor.
class KVInteractionTools : public QObject
{
    Q_OBJECT

public:
    using EditorGetter = std::function<KVEditor *()>;
    KVInteractionTools(EditorGetter activeEditor, QWidget *pMainWindow, QObject *pParent = nullptr);
    ~KVInteractionTools() override;

    // Puts the functions panel into the dock's content widget.
    void installFunctionsPanel(QWidget *pDockPanel);
    // Connects the actions to their commands; the ids of those it connected.
    QSet<QString> connectActions(ActionManager *pActions);
    KVFunctionPanel *functionPanel() const { return m_pFunctions; }
    // The open function editor, if any.
    KVEditingFunctionDialog *functionEditor() const { return m_pFunctionEditor; }

    // Whether the clipboard holds handlers copied with "Copy All Event Actions" (an empty list holds none).
    static bool hasCopiedHandlers();
    static QString handlerListFormat(); // "event-action-data"
    // Whether one element (or, with none selected, the scene) is chosen and has handlers to copy.
    static bool canCopyEventActions(KVDocument *pDocument);

public slots:
    // The dialog on the one selected element, or on the current scene when none is selected.
    void openElementHandlers();
    void openTimelineHandlers();
    void openDocumentHandlers();
    void editFunction(int nFunctionId);
    bool copyEventActions();
    bool pasteEventActions();
    void updateEditorActivated(IEditor *pEditor);

private:
    KVDocument *document() const;

    EditorGetter m_activeEditor;
    QPointer<QWidget> m_pMainWindow;
    QPointer<KVFunctionPanel> m_pFunctions;
    QPointer<KVEditingFunctionDialog> m_pFunctionEditor;
};
