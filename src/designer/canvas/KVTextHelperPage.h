#pragma once

#include <QObject>
#include <QString>

class KVTextCommandValidator;
class QWebChannel;
class QWebEnginePage;

// The hidden page that normalises the HTML of text edits for the text-command queue: an invisible
// web page showing resources/helperhtml/kvtexteditorhelper.html, with the validator on the page's
// own web channel as "kvTextValidator". The page tells the validator when it listens (pageReady),
// takes each removeFormat() and answers with onHtmlProcessed() and processNextAction().
class KVTextHelperPage : public QObject
{
    Q_OBJECT
    // The validator waits for the page's pageReady() before it hands over any text.
    Q_PROPERTY(bool waitsForReady READ waitsForReady CONSTANT)

public:
    // strPagePath: the page file; empty takes the one in the host's resource folder.
    explicit KVTextHelperPage(KVTextCommandValidator *pValidator, const QString &strPagePath = QString());
    ~KVTextHelperPage() override;

    bool waitsForReady() const { return true; }
    // The page file in the host's resource folder.
    static QString defaultPagePath();
    // Makes the validator use such pages (the plug-in does this when it starts).
    static void install(KVTextCommandValidator *pValidator);

private:
    QWebEnginePage *m_pPage = nullptr;
    QWebChannel *m_pChannel = nullptr;
};
