#include <windows.h>

#include "app/main_form_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  lumadex::MainForm form(instance);
  if (!form.Create(showCommand)) return 1;
  return form.RunMessageLoop();
}
