#include "KVHTMLWidgetDialog.h"

#include "KVCodeEdit.h"

#include "Reporter.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QUrl>
#include <QVBoxLayout>

KVHTMLWidgetDialog::KVHTMLWidgetDialog(QWidget *pParent)
    : QDialog(pParent)
{
    setObjectName(QStringLiteral("KVHTMLWidgetDialog"));
    setWindowTitle(tr("HTML Widget"));
    resize(560, 420);
    auto *pLayout = new QVBoxLayout(this);
    m_pByUrl = new QRadioButton(tr("Show the page at this URL"), this);
    m_pByUrl->setObjectName(QStringLiteral("ByUrl"));
    m_pByUrl->setChecked(true);
    pLayout->addWidget(m_pByUrl);
    m_pUrl = new QLineEdit(QStringLiteral("https://"), this);
    m_pUrl->setObjectName(QStringLiteral("Url"));
    pLayout->addWidget(m_pUrl);
    m_pByCode = new QRadioButton(tr("Show this HTML code"), this);
    m_pByCode->setObjectName(QStringLiteral("ByCode"));
    pLayout->addWidget(m_pByCode);
    m_pCode = new KVCodeEdit(this, KVCodeEdit::Html);
    m_pCode->setObjectName(QStringLiteral("Code"));
    pLayout->addWidget(m_pCode, 1);
    auto *pSize = new QHBoxLayout;
    m_pWidth = new QSpinBox(this);
    m_pWidth->setObjectName(QStringLiteral("Width"));
    m_pHeight = new QSpinBox(this);
    m_pHeight->setObjectName(QStringLiteral("Height"));
    for (QSpinBox *pBox : {m_pWidth, m_pHeight}) {
        pBox->setRange(1, 10000);
        pBox->setSuffix(QStringLiteral(" px"));
    }
    m_pWidth->setValue(300);
    m_pHeight->setValue(250);
    pSize->addWidget(new QLabel(tr("Width"), this));
    pSize->addWidget(m_pWidth);
    pSize->addWidget(new QLabel(tr("Height"), this));
    pSize->addWidget(m_pHeight);
    pSize->addStretch(1);
    pLayout->addLayout(pSize);
    auto *pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(pButtons, &QDialogButtonBox::accepted, this, &KVHTMLWidgetDialog::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &KVHTMLWidgetDialog::reject);
    pLayout->addWidget(pButtons);
    connect(m_pByUrl, &QRadioButton::toggled, this, &KVHTMLWidgetDialog::updateMode);
    updateMode();
}

void KVHTMLWidgetDialog::updateMode()
{
    m_pUrl->setEnabled(m_pByUrl->isChecked());
    m_pCode->setEnabled(m_pByCode->isChecked());
}

QString KVHTMLWidgetDialog::url() const
{
    return m_pByUrl->isChecked() ? m_pUrl->text().trimmed() : QString();
}

QString KVHTMLWidgetDialog::code() const
{
    return m_pByCode->isChecked() ? m_pCode->toPlainText() : QString();
}

QSize KVHTMLWidgetDialog::widgetSize() const
{
    return QSize(m_pWidth->value(), m_pHeight->value());
}

void KVHTMLWidgetDialog::accept()
{
    // An address needs a scheme and a host (or a file); code must not be empty. The dialog stays
    // open with what was typed.
    if (m_pByUrl->isChecked()) {
        const QUrl address(url(), QUrl::StrictMode);
        if (!address.isValid() || address.scheme().isEmpty() || (address.host().isEmpty() && !address.isLocalFile())) {
            Reporter::warning(tr("\"%1\" is not a complete address, such as https://example.com/page.html.").arg(url()));
            return;
        }
    } else if (code().trimmed().isEmpty()) {
        Reporter::warning(tr("Write the HTML code the widget shows."));
        return;
    }
    QDialog::accept();
}
