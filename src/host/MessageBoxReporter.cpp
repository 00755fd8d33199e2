#include "MessageBoxReporter.h"

#include <QMessageBox>
#include <QPushButton>

MessageBoxReporter::MessageBoxReporter(QWidget *pParent)
    : m_pParent(pParent)
{
}

void MessageBoxReporter::setParentWidget(QWidget *pParent)
{
    m_pParent = pParent;
}

// Texts often hold names from a project (a resource, an element, an id) that a project file may
// make look like markup: every box shows its text as plain text.
void MessageBoxReporter::report(Severity severity, const QString &title, const QString &text)
{
    const QMessageBox::Icon icon = severity == Critical ? QMessageBox::Critical
                                 : severity == Warning  ? QMessageBox::Warning
                                                        : QMessageBox::Information;
    QMessageBox box(icon, title, text, QMessageBox::Ok, m_pParent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

IReporter::Button MessageBoxReporter::ask(const QString &title, const QString &text, int buttons,
                                          Button defaultButton)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::StandardButtons(buttons), m_pParent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::StandardButton(defaultButton));
    box.exec();
    return Button(int(box.standardButton(box.clickedButton())));
}

int MessageBoxReporter::choose(const QString &title, const QString &text, const QStringList &buttons,
                               int defaultIndex)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, m_pParent);
    box.setTextFormat(Qt::PlainText);
    QList<QAbstractButton *> made;
    for (int i = 0; i < buttons.size(); ++i) {
        QPushButton *button = box.addButton(buttons.at(i), QMessageBox::ActionRole);
        made.append(button);
        if (i == defaultIndex)
            box.setDefaultButton(button);
    }
    box.exec();
    return made.indexOf(box.clickedButton());
}
