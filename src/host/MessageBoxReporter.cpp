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

void MessageBoxReporter::report(Severity severity, const QString &title, const QString &text)
{
    switch (severity) {
    case Critical:
        QMessageBox::critical(m_pParent, title, text);
        break;
    case Warning:
        QMessageBox::warning(m_pParent, title, text);
        break;
    case Information:
        QMessageBox::information(m_pParent, title, text);
        break;
    }
}

IReporter::Button MessageBoxReporter::ask(const QString &title, const QString &text, int buttons,
                                          Button defaultButton)
{
    const auto answer = QMessageBox::question(m_pParent, title, text,
                                              QMessageBox::StandardButtons(buttons),
                                              QMessageBox::StandardButton(defaultButton));
    return Button(int(answer));
}

int MessageBoxReporter::choose(const QString &title, const QString &text, const QStringList &buttons,
                               int defaultIndex)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, m_pParent);
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
