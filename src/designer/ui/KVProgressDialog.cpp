#include "KVProgressDialog.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace {
// QProgressDialog counts in int; large totals are scaled to a thousand steps.
constexpr int kSteps = 1000;
}

KVProgressDialog::KVProgressDialog(QWidget *pParent)
    : m_pParent(pParent)
{
}

KVProgressDialog::~KVProgressDialog()
{
    end();
}

void KVProgressDialog::begin(const QString &strText, const QString &strCancelText, qint64 nTotal)
{
    end();
    m_nTotal = qMax<qint64>(1, nTotal);
    m_pDialog = new QProgressDialog(strText, strCancelText, 0, kSteps, m_pParent);
    m_pDialog->setWindowTitle(QStringLiteral("Kavio Studio"));
    m_pDialog->setWindowModality(Qt::WindowModal);
    m_pDialog->setMinimumDuration(0);
    m_pDialog->setValue(0);
}

void KVProgressDialog::setValue(qint64 nValue)
{
    if (!m_pDialog)
        return;
    m_pDialog->setValue(int(qBound<qint64>(0, nValue * kSteps / m_nTotal, kSteps)));
    QCoreApplication::processEvents();
}

bool KVProgressDialog::wasCanceled() const
{
    return m_pDialog && m_pDialog->wasCanceled();
}

void KVProgressDialog::end()
{
    delete m_pDialog;
    m_pDialog = nullptr;
}
