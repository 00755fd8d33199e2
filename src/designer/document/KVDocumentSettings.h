#pragma once

#include "document/KVLoadingIndicator.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QString>

// The document-level settings of a project: playback and editing switches, the custom preloader's
// kind, and the settings of the exported HTML5 page. A plain value; the document holds one.
//
// Project form: the document-level keys of the "document" object, next to the symbol's keys.
class KVDocumentSettings
{
    Q_DECLARE_TR_FUNCTIONS(KVDocumentSettings)

public:
    KVDocumentSettings();

    bool m_bAutoplay = true;
    bool m_bAutoKeyframeMode = false;
    bool m_bHasCustomLoader = false;
    int m_nLoaderType = 0;
    bool m_bEmbedSystemFont = false;
    QString m_strResFolderHtml5Output;
    QString m_strPreResFolderHtml5Output;
    int m_nViewportWMeta = -2;
    int m_nViewportHMeta = -3;
    QString m_strContainerId;
    QString m_strHtmlOutput;
    QString m_strCssDoc;
    bool m_bInitResponsive = false;
    // The exported page shows a pause/play button people reach with the keyboard.
    bool m_bPlayControl = false;
    // The page variable through which an ad network hands the ad its landing page ("Open Click
    // Tag URL" reads it).
    QString m_strClickTag = defaultClickTag();
    KVLoadingIndicator m_defaultLoadingIndicator;

    bool operator==(const KVDocumentSettings &other) const;
    bool operator!=(const KVDocumentSettings &other) const { return !(*this == other); }

    // Writes the document-level keys into the project's "document" object, "docVersion" (always the
    // current format, 3) among them.
    void toJson(QJsonObject &joDocument) const;
    // Reads the document-level keys of a file of the given format version. Switches that are
    // missing or not booleans read as false; a format before 2 had no HTML5 output settings, so
    // those take the values of a new project (with a new container id) instead of being read;
    // otherwise missing strings read as empty and missing numbers as 0.
    void fromJson(const QJsonObject &joDocument, int nFormatVersion);

    // Puts the HTML5 output settings back to those of a new project, with a new container id.
    void resetHtml5Output();

    // Eight letters: the first from a-z and A-P, the other seven from a-z and A-Z, so that the id is
    // a valid name in CSS and JavaScript.
    static QString newContainerId();
    static bool isValidContainerId(const QString &strId);
    // Whether an id the user gives may name the container: empty (a new one is made at the export),
    // or a letter followed by letters, digits, "_" and "-". A project read with another gets a new
    // id, with the warning that containerIdMessage() starts.
    static bool isHtmlId(const QString &strId);
    static QString containerIdMessage(const QString &strId);

    static const QString &defaultClickTag(); // "clickTag"
    // A JavaScript name the page can declare: a letter, "_" or "$", then also digits.
    static bool isClickTagName(const QString &strName);
    static const QString &defaultResFolder(); // "resources"
    static const QString &defaultPreResFolder(); // "preloader_resources"
    static constexpr int CurrentFormatVersion = 3;
};
