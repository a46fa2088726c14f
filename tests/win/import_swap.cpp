#include "tests/win/import_swap.h"

#include <windows.h>

#include <cstring>

namespace velomar::test {

ImportSwap::ImportSwap(const char* dll, const char* function, void* replacement) {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
  for (; entry->Name != 0 && slot_ == nullptr; ++entry) {
    if (lstrcmpiA(reinterpret_cast<char*>(base + entry->Name), dll) != 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      auto* named = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<char*>(named->Name), function) != 0) continue;
      slot_ = reinterpret_cast<void**>(&slots->u1.Function);
      break;
    }
  }
  if (slot_ != nullptr) original_ = Exchange(replacement);
}

ImportSwap::~ImportSwap() {
  if (slot_ != nullptr) Exchange(original_);
}

void* ImportSwap::Exchange(void* value) {
  DWORD protection = 0;
  VirtualProtect(slot_, sizeof(void*), PAGE_READWRITE, &protection);
  void* previous = InterlockedExchangePointer(slot_, value);
  VirtualProtect(slot_, sizeof(void*), protection, &protection);
  return previous;
}

}  // namespace velomar::test
