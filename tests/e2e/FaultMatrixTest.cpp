// The real kvrPatch.exe in each failure it must survive, as one table. For
// every row: the exit code, the box it shows (run interactively, the
// confirmation answered with OK), and proof that nothing outside what that
// failure allows has changed: every file and folder of the patch and the
// product (bytes, last-write time, attributes), the registry values the patch
// names, and the product's install information (bytes and time).
//
// The patch brings level 3 to a product at level 2: three files (the second
// one shifted), the third into its own folder, and three registry values, the
// second in a key of its own. Failing rows break the third file or the second
// value, so what may change is always "the entries before the failing one".
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Patch.h"

namespace kvr::e2e {
namespace {

// 2001-01-01, 2002-01-01 and 2010-01-01 as FILETIME values: the old product
// files, its install information, and the patch's new files.
constexpr ULONGLONG kOldTime = 126227808000000000ull;
constexpr ULONGLONG kInfoTime = 126543168000000000ull;
constexpr ULONGLONG kNewTime = 129067776000000000ull;

bool SetWriteTime(const std::string& path, ULONGLONG time) {
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  FILETIME t{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
  const bool set = SetFileTime(file, &t, &t, &t) != FALSE;
  CloseHandle(file);
  return set;
}

void WriteDated(const std::string& path, const std::string& bytes, ULONGLONG time) {
  ASSERT_TRUE(WriteFileBytes(path, bytes)) << path;
  ASSERT_TRUE(SetWriteTime(path, time)) << path;
}

// --- What the PC holds ------------------------------------------------------

struct Entry {
  bool folder = false;
  std::string bytes;
  ULONGLONG written = 0;
  DWORD attributes = 0;
};
using Tree = std::map<std::string, Entry>;

void Collect(const std::string& folder, Tree& tree) {
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    const std::string path = folder + "\\" + name;
    Entry entry;
    entry.folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.attributes = found.dwFileAttributes;
    if (!entry.folder) {
      entry.bytes = ReadFileBytes(path).value_or("<unreadable>");
      entry.written = (ULONGLONG{found.ftLastWriteTime.dwHighDateTime} << 32) |
                      found.ftLastWriteTime.dwLowDateTime;
    }
    tree[path] = entry;
    if (entry.folder) Collect(path, tree);
  } while (FindNextFileA(find, &found));
  FindClose(find);
}

Tree Files(const std::string& folder) {
  Tree tree;
  Collect(folder, tree);
  return tree;
}

std::optional<Entry> FileAt(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  Entry entry;
  entry.bytes = ReadFileBytes(path).value_or("<unreadable>");
  entry.written =
      (ULONGLONG{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
  entry.attributes = data.dwFileAttributes;
  return entry;
}

struct Snapshot {
  Tree files;                                                 // the patch folder and the product
  std::map<std::string, std::optional<RegistryText>> values;  // by key\name
  std::optional<Entry> info;                                  // the install information
};

// --- Making a file nobody can write ------------------------------------------

// Whether the file can be opened for writing now.
bool Writable(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

// Sets or clears the Unix immutable flag of a file (chattr), which stops every
// writer, root included: Wine running as root ignores permission bits, and CI
// runs as root. Wine starts a Unix program named by its DOS path, without a
// process handle, so the change is awaited by the file's writability. False
// when it did not take effect (not under Wine, or chattr not permitted).
bool SetImmutable(const std::string& path, bool immutable) {
  using ToUnix = char*(CDECL*)(LPCWSTR);
  using ToDos = WCHAR*(CDECL*)(const char*);
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  const auto toUnix = reinterpret_cast<ToUnix>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "wine_get_unix_file_name")));
  const auto toDos = reinterpret_cast<ToDos>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "wine_get_dos_file_name")));
  if (toUnix == nullptr || toDos == nullptr) return false;
  const std::wstring widePath(path.begin(), path.end());  // an ASCII path
  char* unixPath = toUnix(widePath.c_str());
  WCHAR* chattr = toDos("/usr/bin/chattr");
  if (unixPath == nullptr || chattr == nullptr) return false;
  std::string commandLine = "\"";
  for (const WCHAR* c = chattr; *c != 0; ++c) commandLine += static_cast<char>(*c);
  commandLine += std::string("\" ") + (immutable ? "+i" : "-i") + " \"" + unixPath + "\"";
  HeapFree(GetProcessHeap(), 0, unixPath);
  HeapFree(GetProcessHeap(), 0, chattr);
  auto started = RunningProgram::Start(commandLine);
  (void)started;
  return WaitUntil([&] { return Writable(path) != immutable; }, 10000);
}

// --- The patch and the product -------------------------------------------------

struct Pc {
  std::unique_ptr<Scenario> scenario;
  std::string installDir, keyA, keyB, info;
  std::vector<std::string> sources, destinations, newBytes;

  Pc() {
    scenario = std::make_unique<Scenario>("faults");
    installDir = scenario->folder() + "\\product";
    keyA = "SOFTWARE\\KvrE2E\\Faults\\A";
    keyB = "SOFTWARE\\KvrE2E\\Faults\\B";
    info = WindowsDirectory() + "\\Kovra.ini";
    DeleteRegistryKey(keyA);
    DeleteRegistryKey(keyB);
    MakeFolders(scenario->folder() + "\\SET\\x86");
    MakeFolders(installDir + "\\bin");
    MakeFolders(installDir + "\\lib");
    const char* relative[] = {"bin\\f1.bin", "bin\\f2.bin", "lib\\f3.bin"};
    for (int i = 0; i < 3; ++i) {
      const std::string n = std::to_string(i + 1);
      newBytes.push_back("new " + n + std::string(1500 * (i + 1), static_cast<char>(0x41 + i)));
      sources.push_back(scenario->folder() + "\\SET\\x86\\f" + n + ".bin");
      WriteDated(sources.back(), i == 1 ? Shifted(newBytes.back()) : newBytes.back(), kNewTime);
      destinations.push_back(installDir + "\\" + relative[i]);
      WriteDated(destinations.back(), "old " + n, kOldTime);
    }
    SetRegistryText(keyA, "Exe", "C:\\Product\\run.exe");
    SetRegistryText(keyB, "Path", "%ProgramFiles%\\x.exe", REG_EXPAND_SZ);
    SetRegistryText(keyA, "Other", "C:\\Other");

    std::vector<IniEntry> install = {
        Enc("TARGET", "0"),     Enc("MODULE_TYPE", "0"),    Enc("MODULE_NM_E", "Patch 3"),
        Enc("VERSION", "10.0"), Enc("VERSION_DISP", "V10"), Enc("PTNO", "3"),
        Enc("FILES", "3"),      Enc("REGISTRIES", "3")};
    for (int i = 0; i < 3; ++i) {
      const std::string n = std::to_string(i + 1);
      install.push_back(
          Enc("FILE" + n, std::string(i == 1 ? "1" : "0") + ",f" + n + ".bin," + relative[i]));
    }
    install.push_back(Enc("REGISTRY1", "0,HKEY_LOCAL_MACHINE," + keyA + ",Exe,x"));
    install.push_back(Enc("REGISTRY2", "0,HKEY_LOCAL_MACHINE," + keyB + ",Path,x"));
    install.push_back(Enc("REGISTRY3", "0,HKEY_LOCAL_MACHINE," + keyA + ",Other,x"));
    WritePatchDescription(*scenario, install);
    WriteProductInfo("Kovra.ini", {Enc("VERSION", "10.0"), Enc("PLATFORM", "x86"),
                                   Enc("SPNO64", "1"), Enc("PTNO", "2"),
                                   Enc("ORSA_INST", kOrsaNotInstalled), Enc("DIR", installDir)});
    SetWriteTime(info, kInfoTime);
  }
  ~Pc() {
    for (const auto& d : destinations) SetFileAttributesA(d.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteRegistryKey(keyA);
    DeleteRegistryKey(keyB);
    RemoveProductInfos();
  }

  // key\name of each registry value, in the patch's order.
  std::vector<std::pair<std::string, std::string>> Values() const {
    return {{keyA, "Exe"}, {keyB, "Path"}, {keyA, "Other"}};
  }

  Snapshot Take() const {
    Snapshot s;
    s.files = Files(scenario->folder());
    for (const auto& [key, name] : Values())
      s.values[key + "\\" + name] = GetRegistryText(key, name);
    s.info = FileAt(info);
    return s;
  }
};

// --- The table ----------------------------------------------------------------

// Something held while the tool runs (a handle, a program, a lock); released
// when it goes out of scope.
using Held = std::shared_ptr<void>;
Held Nothing(Pc&) {
  return nullptr;
}

enum class Box { kSuccess, kFileFailed, kRegistryFailed, kProductRunning, kAlreadyRunning };

struct Fault {
  const char* name;
  std::function<void(Pc&)> arrange;  // changes the PC before the "before" snapshot
  std::function<Held(Pc&)> during;   // held while the tool runs
  DWORD exitCode;
  Box box;
  bool confirms;      // the run gets as far as the confirmation
  int filesReplaced;  // the first n destinations now hold the new files
  int valuesQuoted;   // the first n registry values are now quoted
  bool levelStamped;  // the install information now records level 3
};

std::string ExpectedText(Box box, const Pc& pc) {
  switch (box) {
    case Box::kSuccess:
      return "Patch 3 has been successfully applied. Please start \nKOVRASTUDIO.";
    case Box::kFileFailed:
      return "I failed to update the file (" + pc.destinations[2] +
             ").\nPlease check to see if not read-only, or have access permissions.";
    case Box::kRegistryFailed:
      return "Failed to update the registry value (HKEY_LOCAL_MACHINE\\" + pc.keyB +
             "\\Path).\nPlease check that the value exists and that you have access "
             "permissions.";
    case Box::kProductRunning:
      return "KOVRASTUDIO has been started.\nAfter the KOVRASTUDIO is terminated, please run "
             "again apply program.";
    case Box::kAlreadyRunning:
      return "Patch 3 is already started .";
  }
  return std::string();
}

const Fault kFaults[] = {
    {"source missing", [](Pc& pc) { DeleteFileA(pc.sources[2].c_str()); }, Nothing, 2,
     Box::kFileFailed, true, 2, 0, false},
    {"destination read-only",
     [](Pc& pc) { SetFileAttributesA(pc.destinations[2].c_str(), FILE_ATTRIBUTE_READONLY); },
     Nothing, 2, Box::kFileFailed, true, 2, 0, false},
    {"destination held open by another process", [](Pc&) {},
     [](Pc& pc) -> Held {
       HANDLE held = CreateFileA(pc.destinations[2].c_str(), GENERIC_READ, 0, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
       EXPECT_NE(held, INVALID_HANDLE_VALUE);
       return Held(held, [](void* h) { CloseHandle(h); });
     },
     2, Box::kFileFailed, true, 2, 0, false},
    {"destination folder missing", [](Pc& pc) { RemoveTree(pc.installDir + "\\lib"); }, Nothing, 2,
     Box::kFileFailed, true, 2, 0, false},
    {"registry key missing", [](Pc& pc) { DeleteRegistryKey(pc.keyB); }, Nothing, 6,
     Box::kRegistryFailed, true, 3, 1, false},
    {"registry value missing",
     [](Pc& pc) {
       HKEY key = nullptr;
       RegOpenKeyExA(HKEY_LOCAL_MACHINE, pc.keyB.c_str(), 0, KEY_ALL_ACCESS, &key);
       RegDeleteValueA(key, "Path");
       RegCloseKey(key);
     },
     Nothing, 6, Box::kRegistryFailed, true, 3, 1, false},
    {"registry value over 1024 bytes",
     [](Pc& pc) { SetRegistryText(pc.keyB, "Path", std::string(1100, 'p'), REG_EXPAND_SZ); },
     Nothing, 6, Box::kRegistryFailed, true, 3, 1, false},
    {"install information cannot be written", [](Pc&) {},
     [](Pc& pc) -> Held {
       EXPECT_TRUE(SetImmutable(pc.info, true)) << "chattr +i " << pc.info;
       return Held(new std::string(pc.info), [](void* path) {
         auto* info = static_cast<std::string*>(path);
         EXPECT_TRUE(SetImmutable(*info, false)) << "chattr -i " << *info;
         delete info;
       });
     },
     0, Box::kSuccess, true, 3, 3, false},
    {"product ignores the quit", [](Pc&) {},
     [](Pc&) -> Held {
       auto product = StartProduct("class", "ignore");
       EXPECT_TRUE(product.has_value());
       if (!product) return nullptr;
       return std::make_shared<RunningProgram>(std::move(*product));
     },
     3, Box::kProductRunning, true, 0, 0, false},
    {"second copy", [](Pc&) {},
     [](Pc& pc) -> Held {
       // The first copy waits at its confirmation, holding the single-instance
       // guard; it is cancelled afterwards.
       auto first = pc.scenario->Start("");
       EXPECT_TRUE(first.has_value());
       if (!first) return nullptr;
       auto box = first->WaitForBox();
       EXPECT_TRUE(box.has_value());
       if (!box) return nullptr;
       auto program = std::make_shared<RunningProgram>(std::move(*first));
       const HWND confirmation = box->window;
       return Held(new std::function<void()>([program, confirmation] {
                     EXPECT_TRUE(PressCancel(confirmation));
                     EXPECT_EQ(program->WaitForExit(), std::optional<DWORD>(0u));
                   }),
                   [](void* release) {
                     auto* f = static_cast<std::function<void()>*>(release);
                     (*f)();
                     delete f;
                   });
     },
     9, Box::kAlreadyRunning, false, 0, 0, false},
};

// Everything in `after` is as in `before`, except what the row allows.
void ExpectOnlyAllowedChanges(const Pc& pc, const Fault& fault, const Snapshot& before,
                              const Snapshot& after) {
  Tree expected = before.files;
  for (int i = 0; i < fault.filesReplaced; ++i) {
    const auto source = before.files.find(pc.sources[i]);
    if (source == before.files.end()) {
      ADD_FAILURE() << "no source for a replaced file: " << pc.sources[i];
      continue;
    }
    Entry& e = expected[pc.destinations[i]];
    e.bytes = pc.newBytes[i];
    e.written = source->second.written;
    e.attributes = source->second.attributes;
  }
  EXPECT_EQ(after.files.size(), expected.size()) << "files or folders added or removed";
  for (const auto& [path, entry] : expected) {
    const auto found = after.files.find(path);
    if (found == after.files.end()) {
      ADD_FAILURE() << "gone: " << path;
      continue;
    }
    EXPECT_EQ(found->second.bytes, entry.bytes) << path;
    EXPECT_EQ(found->second.written, entry.written) << path;
    EXPECT_EQ(found->second.attributes, entry.attributes) << path;
  }
  for (const auto& [path, entry] : after.files)
    EXPECT_TRUE(expected.count(path)) << "new: " << path;

  int i = 0;
  for (const auto& [key, name] : pc.Values()) {
    std::optional<RegistryText> value = before.values.at(key + "\\" + name);
    if (i++ < fault.valuesQuoted && value) value->text = "\"" + value->text + "\"";
    EXPECT_EQ(after.values.at(key + "\\" + name), value) << key << "\\" << name;
  }

  ASSERT_TRUE(before.info.has_value() && after.info.has_value());
  if (fault.levelStamped) {
    EXPECT_EQ(ReadProductValue("Kovra.ini", "PTNO"), "3");
  } else {
    EXPECT_EQ(after.info->bytes, before.info->bytes);
    EXPECT_EQ(after.info->written, before.info->written);
  }
  EXPECT_EQ(ReadProductValue("Kovra.ini", "DIR"), pc.installDir);
}

TEST(FaultMatrix, EachFailureEndsWithItsCodeAndBoxAndChangesOnlyWhatItMay) {
  ASSERT_EQ(UiLanguage(), 0x0409);
  // A lock left behind by an interrupted run would make every later run fail.
  const std::string info = WindowsDirectory() + "\\Kovra.ini";
  if (GetFileAttributesA(info.c_str()) != INVALID_FILE_ATTRIBUTES && !Writable(info))
    SetImmutable(info, false);

  // The table's success row, as a control: the same PC without a fault.
  const Fault success = {"no fault", [](Pc&) {}, Nothing, 0, Box::kSuccess, true, 3, 3, true};
  std::vector<const Fault*> rows = {&success};
  for (const Fault& fault : kFaults) rows.push_back(&fault);

  for (const Fault* row : rows) {
    const Fault& fault = *row;
    SCOPED_TRACE(fault.name);
    Pc pc;
    fault.arrange(pc);
    const Snapshot before = pc.Take();
    {
      const Held held = fault.during(pc);
      auto tool = pc.scenario->Start("");
      ASSERT_TRUE(tool.has_value());
      auto box = tool->WaitForBox();
      ASSERT_TRUE(box.has_value());
      if (fault.confirms) {
        EXPECT_EQ(box->text.substr(0, 16), "Run the Patch 3.");
        EXPECT_TRUE(PressOk(box->window));
        box = tool->WaitForBox(60000);
        ASSERT_TRUE(box.has_value());
      }
      EXPECT_EQ(box->text, ExpectedText(fault.box, pc));
      EXPECT_EQ(box->caption, "Patch 3");
      EXPECT_EQ(box->hasIcon, fault.box != Box::kSuccess);
      EXPECT_TRUE(box->hasOk && !box->hasCancel);
      EXPECT_TRUE(PressOk(box->window));
      EXPECT_EQ(tool->WaitForExitWithoutBox(), std::optional<DWORD>(fault.exitCode));
    }
    ExpectOnlyAllowedChanges(pc, fault, before, pc.Take());
  }
}

}  // namespace
}  // namespace kvr::e2e
