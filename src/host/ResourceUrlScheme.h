#pragma once

#include <QWebEngineUrlScheme>

// The "resource:" scheme through which the canvas page asks for the files of its project. The web
// engine wants every custom scheme registered before the application object exists, so the
// application (and every test that shows web pages) calls this first thing in main(). Programs
// that use it link Qt's web-engine core.
inline void registerResourceUrlScheme()
{
    const QByteArray name = QByteArrayLiteral("resource");
    if (QWebEngineUrlScheme::schemeByName(name).name() == name)
        return;
    QWebEngineUrlScheme scheme(name);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    // Pages loaded from files may show and fetch the project's resources.
    scheme.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed
                    | QWebEngineUrlScheme::CorsEnabled);
    QWebEngineUrlScheme::registerScheme(scheme);
}
