#pragma once

#include "IReporter.h"

#include <QList>
#include <QQueue>
#include <QVariant>

// A reporter for tests: keeps every report and question (title and text) and answers questions
// from a script. An unscripted question fails loudly so that a test cannot pass by accident.
class RecordingReporter : public IReporter
{
public:
    struct Entry {
        enum Kind { Report, Question, Choice } kind;
        Severity severity;
        QString title;
        QString text;
    };

    // Installs itself as the process reporter and puts the previous one back when destroyed.
    RecordingReporter();
    ~RecordingReporter() override;

    void answer(Button button);          // the next standard-button question gets this
    void answerNamed(const QString &name); // the next named-button question picks this button
    // Scripts the answer to "Save changes to ..." (Save or Discard) for every open document with
    // unsaved changes, so that closing them all asks nothing unscripted.
    void answerForModifiedDocuments(Button button);

    const QList<Entry> &entries() const { return m_entries; }
    QStringList texts() const;
    QString lastText() const;
    int unansweredQuestions() const { return m_unanswered; }
    int pendingAnswers() const { return m_answers.size(); }
    void clear();

    void report(Severity severity, const QString &title, const QString &text) override;
    Button ask(const QString &title, const QString &text, int buttons, Button defaultButton) override;
    int choose(const QString &title, const QString &text, const QStringList &buttons,
               int defaultIndex) override;

private:
    QList<Entry> m_entries;
    QQueue<QVariant> m_answers;
    IReporter *m_pPrevious = nullptr;
    int m_unanswered = 0;
};
