#include "app/program_start_win32.h"

#include <windows.h>
#include <ole2.h>

namespace lumadex {
namespace {

// Every successful OleInitialize, S_FALSE included, is balanced by one OleUninitialize.
class OleApartment {
 public:
  OleApartment() : initialised_(SUCCEEDED(OleInitialize(nullptr))) {}
  ~OleApartment() {
    if (initialised_) OleUninitialize();
  }
  OleApartment(const OleApartment&) = delete;
  OleApartment& operator=(const OleApartment&) = delete;

 private:
  bool initialised_;
};

}  // namespace

int RunProgramThread(const std::function<int()>& body) {
  const OleApartment apartment;
  return body();
}

}  // namespace lumadex
