#include "app/talvoeditz.h"

#include "app/builtincad.h"
#include "ui/talvoapplication.h"
#include "app/mainform.h"
#include "app/singleinstance.h"
#include "textedit/gui/talvoattform.h"
#include "tools/gui/talvokasanform.h"
#include "tools/gui/talvorenbanform.h"
#include "tools/gui/talvotikanform.h"
#include "cad/connection.h"
#include "cad/qt/qtwindowapi.h"
#include "cad/qt/targetcadform.h"
#include "cad/windowapi.h"

#ifdef _WIN32
#include "cad/com/comsession.h"
#include "cad/win/win32windowapi.h"
#endif

int runTalvoEditZ(int argc, char **argv)
{
    SingleInstance instance;
    if (!instance.acquire())
        return 0;  // silently: the running one is not even brought forward

    TalvoApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("TalvoEditZ"));
#ifdef _WIN32
    // COM for the GUI thread before the message filter, ended after it;
    // the real CAD's windows are reached through Win32.
    cad::com::ComSession comSession;
    cad::win::Win32WindowApi windowApi;
#else
    cad::QtWindowApi windowApi;
#endif
    cad::setWindowApi(&windowApi);

    int rc = 0;
    {
        // The six windows, in their fixed order; the dialogs stay hidden
        // until a command shows one. Parented to the main window so that it
        // alone owns the taskbar button.
        TTalvoMainForm mainForm(AppFiles::forExecutable());
        TTargetCADForm targetCadForm([&mainForm] { return mainForm.loadTargetCadList(); },
                                     [&mainForm](const QStringList &l) { mainForm.saveTargetCadList(l); }, &mainForm);
        TTalvoTikanForm tikanForm(&mainForm);
        TTalvoKasanForm kasanForm(&mainForm);
        TTalvoRenbanForm renbanForm(&mainForm);
        TTalvoAttForm attForm(&mainForm);
        targetCadForm.setMainWindow(&mainForm);
        mainForm.setTargetCADForm(&targetCadForm);
        mainForm.setDialogs({&tikanForm, &kasanForm, &renbanForm, &attForm});

        instance.markRunning();
        cad::setMainWindowHandle(cad::QtWindowApi::handleOf(&mainForm));
        mainForm.show();
        const std::shared_ptr<void> builtInCad = startBuiltInCad(&mainForm);

        rc = app.exec();
        cad::setMainWindowHandle(0);
    }
    // The record arrays of the pages (textList, searchList, blkList,
    // attList) are released here, after the event loop.
    cad::TargetProgID.clear();
    cad::setWindowApi(nullptr);
    return rc;
}
