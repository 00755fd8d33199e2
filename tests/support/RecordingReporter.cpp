#include "RecordingReporter.h"

#include "DocumentManager.h"
#include "ICore.h"
#include "IDocument.h"
#include "Reporter.h"

#include <QtTest>

RecordingReporter::RecordingReporter()
{
    m_pPrevious = Reporter::setInstance(this);
}

RecordingReporter::~RecordingReporter()
{
    Reporter::setInstance(m_pPrevious);
}

void RecordingReporter::answer(Button button)
{
    m_answers.enqueue(QVariant(int(button)));
}

void RecordingReporter::answerNamed(const QString &name)
{
    m_answers.enqueue(QVariant(name));
}

void RecordingReporter::answerForModifiedDocuments(Button button)
{
    if (!ICore::instance())
        return;
    for (IDocument *document : ICore::instance()->documentManager()->getDocuments()) {
        if (document->isModified())
            answer(button);
    }
}

QStringList RecordingReporter::texts() const
{
    QStringList out;
    for (const Entry &e : m_entries)
        out << e.text;
    return out;
}

QString RecordingReporter::lastText() const
{
    return m_entries.isEmpty() ? QString() : m_entries.last().text;
}

void RecordingReporter::clear()
{
    m_entries.clear();
    m_answers.clear();
    m_unanswered = 0;
}

void RecordingReporter::report(Severity severity, const QString &title, const QString &text)
{
    m_entries.append({Entry::Report, severity, title, text});
}

IReporter::Button RecordingReporter::ask(const QString &title, const QString &text, int buttons,
                                         Button defaultButton)
{
    m_entries.append({Entry::Question, Warning, title, text});
    if (m_answers.isEmpty() || m_answers.head().type() != QVariant::Int) {
        ++m_unanswered;
        qWarning("RecordingReporter: unscripted question \"%s\"", qPrintable(text));
        return Cancel;
    }
    const Button b = Button(m_answers.dequeue().toInt());
    if (!(buttons & b))
        qWarning("RecordingReporter: scripted answer %d is not offered for \"%s\"", int(b), qPrintable(text));
    Q_UNUSED(defaultButton)
    return b;
}

int RecordingReporter::choose(const QString &title, const QString &text, const QStringList &buttons,
                              int defaultIndex)
{
    Q_UNUSED(defaultIndex)
    m_entries.append({Entry::Choice, Warning, title, text});
    if (m_answers.isEmpty() || m_answers.head().type() != QVariant::String) {
        ++m_unanswered;
        qWarning("RecordingReporter: unscripted choice \"%s\"", qPrintable(text));
        return -1;
    }
    const QString name = m_answers.dequeue().toString();
    const int index = buttons.indexOf(name);
    if (index < 0)
        qWarning("RecordingReporter: no button \"%s\" in %s", qPrintable(name), qPrintable(buttons.join(',')));
    return index;
}
