; Lumadex's per-user installer. scripts/package builds it; it passes
;   LUMADEX_VERSION_NSH  the version.nsh that CMake writes from project(VERSION)
;   LUMADEX_STAGE        the folder holding Lumadex.exe, AppTray.ico and README.txt
;   LUMADEX_ICON         the program's icon, which the installer and uninstaller show too
;   LUMADEX_OUTFILE      the installer to write
;   LUMADEX_AMD64        (optional) build with the x86-64 stubs around a 64-bit program
; The script is UTF-8: makensis runs with -INPUTCHARSET UTF8.

Unicode true
!ifdef LUMADEX_AMD64
  Target amd64-unicode
!endif

!include "${LUMADEX_VERSION_NSH}"
!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "Sections.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumadex"
; The program's window class: a running copy holds its files open.
!define MAIN_WINDOW_CLASS "LumadexMainForm"

Name "Lumadex"
Caption "Lumadex ${LUMADEX_VERSION} 安装"
UninstallCaption "Lumadex ${LUMADEX_VERSION} 卸载"
BrandingText "Lumadex ${LUMADEX_VERSION}"
OutFile "${LUMADEX_OUTFILE}"
SetCompressor /SOLID lzma
; The program writes Lumadex.ini into its own folder, so it lives where the user can write
; without administrator rights.
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Lumadex"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ManifestDPIAware true
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${LUMADEX_VERSION_QUAD}"
VIFileVersion "${LUMADEX_VERSION_QUAD}"
VIAddVersionKey /LANG=2052 "ProductName" "Lumadex"
VIAddVersionKey /LANG=2052 "CompanyName" "${LUMADEX_PUBLISHER}"
VIAddVersionKey /LANG=2052 "FileDescription" "Lumadex ${LUMADEX_VERSION} 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${LUMADEX_VERSION_QUAD}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${LUMADEX_VERSION}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "${LUMADEX_PUBLISHER}"

!define MUI_ICON "${LUMADEX_ICON}"
!define MUI_UNICON "${LUMADEX_ICON}"
!define MUI_ABORTWARNING
!define MUI_UNABORTWARNING

!define MUI_WELCOMEPAGE_TEXT "安装程序将把 Lumadex ${LUMADEX_VERSION} 安装到您的用户文件夹中，不需要管理员权限。$\r$\n$\r$\nLumadex 把校内网的一个相册整个下载到您电脑上的一个文件夹里。$\r$\n$\r$\n单击 [下一步(N)] 继续。"
!insertmacro MUI_PAGE_WELCOME
!define MUI_DIRECTORYPAGE_TEXT_TOP "Lumadex 的登录信息保存在程序文件夹里的 Lumadex.ini 中，所以请选择一个您有写入权限的文件夹。"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "运行 Lumadex"
!define MUI_FINISHPAGE_RUN_FUNCTION LaunchLumadex
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "查看说明文件"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_COMPONENTSPAGE_TEXT_TOP "卸载程序会删除 Lumadex 的程序文件、开始菜单快捷方式和卸载信息。您记住的登录信息（Lumadex.ini）默认保留，勾选下面的选项可以一并删除。"
!define MUI_COMPONENTSPAGE_TEXT_COMPLIST "选择要删除的内容："
!define MUI_PAGE_CUSTOMFUNCTION_SHOW un.HideSpaceRequired
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "SimpChinese"

; A copy started from the install folder keeps Lumadex.exe locked; say so instead of failing
; half-way. Copies elsewhere (an unpacked zip) are no concern. A copy whose program file
; cannot be told counts as ours: the cost is one question too many.
!macro REFUSE_WHILE_RUNNING UN
Function ${UN}RefuseWhileRunning
  retry:
  StrCpy $0 0
  next_window:
  FindWindow $0 "${MAIN_WINDOW_CLASS}" "" 0 $0
  StrCmp $0 0 done
  System::Call 'user32::GetWindowThreadProcessId(p r0, *i 0 r1)'
  ; PROCESS_QUERY_LIMITED_INFORMATION
  System::Call 'kernel32::OpenProcess(i 0x1000, i 0, i r1) p .r2'
  StrCpy $3 ""
  ${If} $2 P<> 0
    System::Call 'kernel32::QueryFullProcessImageNameW(p r2, i 0, w .r3, *i ${NSIS_MAX_STRLEN})'
    System::Call 'kernel32::CloseHandle(p r2)'
  ${EndIf}
  ${If} $3 != ""
  ${AndIf} $3 != "$INSTDIR\Lumadex.exe"
    Goto next_window
  ${EndIf}
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Lumadex 正在运行。请先关闭它，然后单击 [重试]。" /SD IDCANCEL IDRETRY retry
  Abort
  done:
FunctionEnd
!macroend
!insertmacro REFUSE_WHILE_RUNNING ""
!insertmacro REFUSE_WHILE_RUNNING "un."

Function .onInit
  SetShellVarContext current
  ; A first installation goes to the user's own programs folder, wherever the system keeps it
  ; (Windows 7 and later); older systems and failures keep the default above. A folder given
  ; with /D= or remembered from an earlier installation stays.
  ${If} $INSTDIR == "$LOCALAPPDATA\Programs\Lumadex"
    System::Call 'shell32::SHGetKnownFolderPath(g "{5CD7AEE2-2219-4A67-B85D-6C9CE15660CB}", i 0x4000, p 0, *p .r1) i .r0'
    ${If} $0 == 0
      System::Call '*$1(&w${NSIS_MAX_STRLEN} .r2)'
      System::Call 'ole32::CoTaskMemFree(p r1)'
      ${If} $2 != ""
        StrCpy $INSTDIR "$2\Lumadex"
      ${EndIf}
    ${EndIf}
  ${EndIf}
FunctionEnd

Function LaunchLumadex
  ; Started from here it must find Lumadex.ini in its own folder: that is the working folder.
  SetOutPath "$INSTDIR"
  Exec '"$INSTDIR\Lumadex.exe"'
FunctionEnd

!macro ADD_FILE_SIZE TOTAL NAME
  ${GetSize} "$INSTDIR" "/M=${NAME} /S=0B /G=0" $4 $5 $6
  IntOp ${TOTAL} ${TOTAL} + $4
!macroend

Section "Lumadex" SecProgram
  SectionIn RO
  Call RefuseWhileRunning
  SetOutPath "$INSTDIR"
  File "${LUMADEX_STAGE}\Lumadex.exe"
  File "${LUMADEX_STAGE}\AppTray.ico"
  File "${LUMADEX_STAGE}\README.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The shortcut's working folder is $OUTDIR, the install folder, where Lumadex.ini belongs.
  CreateShortcut "$SMPROGRAMS\Lumadex.lnk" "$INSTDIR\Lumadex.exe" "" "$INSTDIR\Lumadex.exe" 0 SW_SHOWNORMAL "" "校内相册下载"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Lumadex"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${LUMADEX_VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${LUMADEX_PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Lumadex.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ; What this installer put there, in KiB; the user's own Lumadex.ini is not counted.
  StrCpy $1 0
  !insertmacro ADD_FILE_SIZE $1 "Lumadex.exe"
  !insertmacro ADD_FILE_SIZE $1 "AppTray.ico"
  !insertmacro ADD_FILE_SIZE $1 "README.txt"
  !insertmacro ADD_FILE_SIZE $1 "uninstall.exe"
  IntOp $1 $1 + 1023
  IntOp $1 $1 / 1024
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $1
SectionEnd

; Only what the installer put there goes: never the whole folder, which may hold the user's
; own files (a save folder chosen inside it, Lumadex.ini).
Section "-un.Program"
  Call un.RefuseWhileRunning
  SetShellVarContext current
  Delete "$SMPROGRAMS\Lumadex.lnk"
  Delete "$INSTDIR\Lumadex.exe"
  Delete "$INSTDIR\AppTray.ico"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\uninstall.exe"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.删除保存的登录信息 (Lumadex.ini)" UnSecSettings
  Delete "$INSTDIR\Lumadex.ini"
SectionEnd

Section "-un.Folder"
  ; Gone only when empty.
  RMDir "$INSTDIR"
SectionEnd

; Removing needs no space: the page's "space required" line would only read 0.0 KB.
Function un.HideSpaceRequired
  FindWindow $0 "#32770" "" $HWNDPARENT
  GetDlgItem $1 $0 1023
  ShowWindow $1 ${SW_HIDE}
FunctionEnd

Function un.onInit
  SetShellVarContext current
  ; The silent uninstaller asks nothing: /REMOVESETTINGS stands for the tick on that page.
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${UnSecSettings}
  ${EndIf}
FunctionEnd
