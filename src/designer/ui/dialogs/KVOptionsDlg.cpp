#include "KVOptionsDlg.h"

#include "IOptionPage.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

KVOptionsDlg::KVOptionsDlg(QWidget *pParent)
    : IOptionsDlg(pParent)
{
    setObjectName(QStringLiteral("KVOptionsDlg"));
    setWindowTitle(tr("Preferences"));
    resize(760, 520);
    auto *pLayout = new QVBoxLayout(this);
    auto *pTop = new QHBoxLayout;
    m_pList = new QListWidget(this);
    m_pList->setObjectName(QStringLiteral("OptionPages"));
    m_pList->setMaximumWidth(160);
    m_pStack = new QStackedWidget(this);
    pTop->addWidget(m_pList);
    pTop->addWidget(m_pStack, 1);
    pLayout->addLayout(pTop, 1);
    m_pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
    pLayout->addWidget(m_pButtons);
    connect(m_pButtons, &QDialogButtonBox::accepted, this, &KVOptionsDlg::onOK);
    connect(m_pButtons, &QDialogButtonBox::rejected, this, &KVOptionsDlg::onCancel);
    connect(m_pButtons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this, &KVOptionsDlg::onApply);
    connect(m_pList, &QListWidget::currentRowChanged, this, &KVOptionsDlg::onPageChanged);
    m_pButtons->button(QDialogButtonBox::Apply)->setEnabled(false);
}

void KVOptionsDlg::addPage(IOptionPage *pPage)
{
    if (!pPage || m_pages.contains(pPage))
        return;
    m_pages.append(pPage);
    m_pList->addItem(pPage->title());
    m_pStack->addWidget(pPage);
    // A page tells of its changes by its changed flag, set through setChanged().
    if (pPage->metaObject()->indexOfSignal("changed()") >= 0)
        connect(pPage, SIGNAL(changed()), this, SLOT(onDataChanged()));
    if (m_pList->currentRow() < 0)
        m_pList->setCurrentRow(0);
}

void KVOptionsDlg::initValues()
{
    for (IOptionPage *pPage : qAsConst(m_pages)) {
        pPage->initValues();
        pPage->setChanged(false);
    }
    m_pButtons->button(QDialogButtonBox::Apply)->setEnabled(false);
}

void KVOptionsDlg::saveChanges()
{
    for (IOptionPage *pPage : qAsConst(m_pages)) {
        if (pPage->isChanged()) {
            pPage->saveChanges();
            pPage->setChanged(false);
        }
    }
    m_pButtons->button(QDialogButtonBox::Apply)->setEnabled(false);
}

void KVOptionsDlg::onDataChanged()
{
    m_pButtons->button(QDialogButtonBox::Apply)->setEnabled(true);
}

void KVOptionsDlg::onApply()
{
    saveChanges();
}

void KVOptionsDlg::onOK()
{
    saveChanges();
    accept();
}

void KVOptionsDlg::onCancel()
{
    onReject();
}

void KVOptionsDlg::onReject()
{
    reject();
}

void KVOptionsDlg::onPageChanged(int nPage)
{
    m_pStack->setCurrentIndex(nPage);
}

void KVOptionsDlg::setCurrentPage(int ePageId)
{
    m_pList->setCurrentRow(ePageId);
}
