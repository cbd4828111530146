#ifndef YMPLATFORMMESSAGEFILTER_H
#define YMPLATFORMMESSAGEFILTER_H

#include <QByteArray>
#include <QGuiApplication>
#include <QString>
#include <QtGlobal>

#include <cstdio>

// The offscreen platform warns on every window operation it cannot do (opacity
// steps of a fading popup, raise, size hints ...), dozens of lines per run that
// bury real warnings. install() drops exactly those window messages, only when
// running offscreen, and hands every other message to the handler installed
// before. Header-only so that the tests, the benchmarks and the demo host (which
// sees only the module's interface) share it.
class YmPlatformMessageFilter
{
public:
    // Call at the top of main() (before or after the application exists); in a
    // Qt Test, from initTestCase, since the test run installs its own handler.
    // Calling it again while it is installed changes nothing.
    static void install()
    {
        if (!isOffscreen())
            return;
        const QtMessageHandler previous = qInstallMessageHandler(&handle);
        if (previous != &handle)
            previousHandler() = previous;
    }

    // Whether msg is one of the offscreen window's "not supported" warnings.
    static bool isFiltered(QtMsgType type, const QString &msg)
    {
        if (type != QtWarningMsg)
            return false;
        static const char *const unsupported[] = {
            "This plugin does not support raise()",
            "This plugin does not support lower()",
            "This plugin does not support propagateSizeHints()",
            "This plugin does not support setting window opacity",
            "This plugin does not support setting window masks",
            "This plugin does not support grabbing the keyboard",
            "This plugin does not support grabbing the mouse",
            "This plugin does not support setParent!",
        };
        for (const char *text : unsupported) {
            if (msg == QLatin1String(text))
                return true;
        }
        return false;
    }

private:
    static bool isOffscreen()
    {
        if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
            const QString platform = QGuiApplication::platformName();
            if (!platform.isEmpty())
                return platform == QLatin1String("offscreen");
        }
        // Before the application has loaded its platform: the one it is asked for.
        return qgetenv("QT_QPA_PLATFORM").startsWith("offscreen");
    }

    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &msg)
    {
        if (isFiltered(type, msg))
            return;
        // A previous handler that hands messages back to whatever it replaced
        // (Qt Test's does, once its run is over) must not loop through us.
        static thread_local bool forwarding = false;
        if (forwarding || !previousHandler()) {
            fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, msg)));
            return;
        }
        forwarding = true;
        // Qt hands back its default handler when none was installed before.
        previousHandler()(type, context, msg);
        forwarding = false;
    }

    static QtMessageHandler &previousHandler()
    {
        static QtMessageHandler handler = nullptr;
        return handler;
    }
};

#endif // YMPLATFORMMESSAGEFILTER_H
