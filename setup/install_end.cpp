#include "install_end.h"

#include <windows.h>

#include "setup_app.h"

using Zint_Std::CString;

CInstallEnd::CInstallEnd(CUserStarter& starter) : starter(starter) {}

void CInstallEnd::Run(const InstallEndPlan& plan)
{
    const CString& folder = plan.installFolder;
    // An elevated installer without the desktop's shell starts nothing: the
    // launcher would hand its rights to every program typed into it, and the
    // registration tool would write into the profile of whoever elevated it.
    if (!starter.CanStart()) {
        CSetupApp::Notify(NoStartNotice(plan).data);
        return;
    }
    if (plan.sendTo)
        starter.Start((folder + "Pinlet.exe").data, "-a", folder.data);

    const CString question = CompletedText(plan) + "今すぐQueltを起動しますか？";
    // The desktop's shell may have gone since: the refusal is told, a
    // failed start stays silent as it always has.
    if (MessageBoxA(GetDesktopWindow(), question.data, "Quelt",
                    MB_SYSTEMMODAL | MB_ICONEXCLAMATION | MB_YESNO) == IDYES &&
        !starter.Start((folder + "quelt_.exe").data, 0, folder.data) && !starter.CanStart())
        CSetupApp::Notify(RefusedText(plan).data);
    starter.Start((folder + "readme.txt").data, 0, 0);
}

CString CInstallEnd::NoStartNotice(const InstallEndPlan& plan)
{
    CString text = CompletedText(plan) + RefusedText(plan);
    if (plan.sendTo && plan.menuFolder)
        text.Append("\n\n[送る] メニューに 【Queltに登録】 がないときは,スタートメニューの"
                    "「Quelt」→「送るメニューにショートカットの追加／削除」で追加してください.");
    return text;
}

CString CInstallEnd::RefusedText(const InstallEndPlan& plan)
{
    return CString("インストーラーが管理者権限で実行されているため,ここではQueltを起動しません.\n") +
           LaterStartText(plan);
}

CString CInstallEnd::CompletedText(const InstallEndPlan& plan)
{
    CString text("Queltのインストールが完了しました！\n\n");
    if (plan.firstInstall)
        text.Append("Queltは起動直後隠れています.表示方法はデフォルト Alt + 1 (変更可能) です.\n\n");
    return text;
}

CString CInstallEnd::LaterStartText(const InstallEndPlan& plan)
{
    if (!plan.menuFolder)
        return CString("Queltは,インストール先のフォルダにある quelt_.exe から起動してください.");
    if (!plan.startupLink)
        return CString("Queltは,スタートメニューの「Quelt」から起動してください.");
    return CString("Queltは次回のログオン時に自動的に起動します.\n"
                   "すぐに使うときは,スタートメニューの「Quelt」から起動してください.");
}
