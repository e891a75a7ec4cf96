#include <windows.h>

#include "app/main_form_win32.h"
#include "app/program_start_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  return lumadex::RunProgramThread([&] {
    lumadex::MainForm form(instance);
    if (!form.Create(showCommand)) return 1;
    return form.RunMessageLoop();
  });
}
