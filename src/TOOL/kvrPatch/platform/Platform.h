// The seam between the tool and Windows.
//
// Every Windows call the tool makes goes through one of the narrow interfaces
// below. Win32Platform makes the real calls; FakePlatform (tests/support) is an
// in-memory PC. Each method states what the tool relies on; nothing throws
// across the seam, failure is a plain value, and "absent" is not "failed".
//
// Texts are 8-bit, in the system's ANSI code page; lengths count bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kvr {

// Message box style flags and results, with the values Windows gives them.
namespace box {
constexpr std::uint32_t kOkCancel = 0x00000001;
constexpr std::uint32_t kIconError = 0x00000010;
constexpr std::uint32_t kSystemModal = 0x00001000;
constexpr std::uint32_t kSetForeground = 0x00010000;
constexpr std::uint32_t kTopmost = 0x00040000;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
}  // namespace box

// The program's string table and message boxes.
class Messages {
 public:
  virtual ~Messages() = default;
  // String `id` of the program's own table in the user's language, converted
  // to the ANSI code page and cut to at most capacity-1 bytes. An id that is
  // not in the table gives the empty text.
  virtual std::string loadString(unsigned id, std::size_t capacity) = 0;
  // Shows a message box with no owner window and waits for it to close.
  // Returns the id of the button that closed it (kIdOk, kIdCancel, ...), or 0
  // when no box could be shown.
  virtual int showBox(const char* text, const char* caption, std::uint32_t style) = 0;
};

// Facts about this process and the single-instance guard.
enum class MutexResult { kCreated, kAlreadyExists, kFailed };

class Process {
 public:
  virtual ~Process() = default;
  // Full path of the running executable. nullopt when it is not available or
  // would not fit 259 bytes.
  virtual std::optional<std::string> moduleFileName() = 0;
  // The user's UI language identifier (1041 Japanese, 1033 English US, ...).
  virtual std::uint16_t userUiLanguage() = 0;
  // The Windows directory, without a trailing backslash.
  virtual std::string windowsDirectory() = 0;
  // Creates or opens the named mutex with initial ownership. kCreated: this
  // process created it and holds it until the process ends. kAlreadyExists:
  // another process created it first; the handle has been released and closed.
  // kFailed: no mutex could be created or opened.
  virtual MutexResult takeNamedMutex(const char* name) = 0;
  // Byte length of the character that starts at `text` in the ANSI code page
  // (2 for a double-byte character, 1 otherwise, 0 at the terminator). A lead
  // byte followed by the terminator counts as one byte.
  virtual std::size_t charLength(const char* text) = 0;
};

// Waiting. All waits of the tool go through here, so tests run in virtual time.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual void sleepMs(std::uint32_t ms) = 0;
};

// One value of an INI file.
class Profile {
 public:
  virtual ~Profile() = default;
  // The value of `key` in `[section]` of the file, or the empty text when the
  // file, the section or the key is missing. Section and key match without
  // regard to letter case; the value is the text after the first '=' with the
  // blanks around it removed; nothing inside it starts a comment; at most 1023
  // bytes come back, a longer value is cut to 1023.
  virtual std::string read(const char* section, const char* key, const char* path) = 0;
  // Sets `key` in `[section]`, adding section or key when missing and keeping
  // the rest of the file. False when the file could not be written.
  virtual bool write(const char* section, const char* key, const char* value, const char* path) = 0;
};

// File times as Windows FILETIME values (100 ns since 1601).
struct FileTimes {
  std::uint64_t creation = 0;
  std::uint64_t lastAccess = 0;
  std::uint64_t lastWrite = 0;
};

constexpr std::uint32_t kAttributeReadOnly = 0x1;
constexpr std::uint32_t kAttributeNormal = 0x80;

// A file opened for reading, without sharing. Closed when destroyed.
class ReadableFile {
 public:
  virtual ~ReadableFile() = default;
  // Reads up to `size` bytes. The number read (0 at end of file), or nullopt
  // when the read failed.
  virtual std::optional<std::size_t> read(void* buffer, std::size_t size) = 0;
  // Creation, last-access and last-write times; nullopt on failure.
  virtual std::optional<FileTimes> times() = 0;
};

// A file opened for writing, without sharing. Closed when destroyed.
class WritableFile {
 public:
  virtual ~WritableFile() = default;
  // Writes exactly these bytes; false on failure.
  virtual bool write(const void* data, std::size_t size) = 0;
  // Sets all three times; false on failure.
  virtual bool setTimes(const FileTimes& times) = 0;
};

enum class CreateMode {
  kAlways,  // a new file, or an existing one emptied
  kNew,     // fails when the file exists
};

class Files {
 public:
  virtual ~Files() = default;
  // Attributes of the file or folder, or nullopt when there is none.
  virtual std::optional<std::uint32_t> attributes(const char* path) = 0;
  virtual bool setAttributes(const char* path, std::uint32_t attributes) = 0;
  // Opens an existing file for reading with share mode 0; null on failure
  // (missing, or held open by another program).
  virtual std::unique_ptr<ReadableFile> openRead(const char* path) = 0;
  // Creates a file for writing with share mode 0; null on failure (folder
  // missing, file held open, read-only, ...).
  virtual std::unique_ptr<WritableFile> createWrite(const char* path, CreateMode mode) = 0;
  // Copies the file with its attributes and last-write time; with
  // failIfExists false an existing destination is replaced. False on failure.
  virtual bool copy(const char* source, const char* destination, bool failIfExists) = 0;
  // Moves `from` over `to`, replacing an existing `to`. False on failure, in
  // which case `to` is as it was.
  virtual bool replace(const char* from, const char* to) = 0;
  // Deletes the file; false on failure.
  virtual bool remove(const char* path) = 0;
};

// Registry root keys, with the values Windows gives them.
enum class RootKey : std::uint32_t {
  kClassesRoot = 0x80000000u,
  kCurrentUser = 0x80000001u,
  kLocalMachine = 0x80000002u,
  kUsers = 0x80000003u,
};

constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;

struct RegistryValue {
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
};

// An open registry key. Closed when destroyed.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  // Type and data of the value, queried with a buffer of `capacity` bytes.
  // nullopt when the value is missing, its data does not fit, or the query
  // failed for another reason.
  virtual std::optional<RegistryValue> query(const char* valueName, std::size_t capacity) = 0;
  // Writes the value with this type and exactly these bytes; false on failure.
  virtual bool set(const char* valueName, std::uint32_t type, const void* data,
                   std::size_t size) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // Opens the key with KEY_ALL_ACCESS; null on failure.
  virtual std::unique_ptr<RegistryKey> open(RootKey root, const char* keyPath) = 0;
};

// Top-level windows of other programs. 0 means "no window".
using WindowId = std::uintptr_t;

class Desktop {
 public:
  virtual ~Desktop() = default;
  // A top-level window with exactly this class name, or 0.
  virtual WindowId findByClass(const char* className) = 0;
  // A top-level window with exactly this title, or 0.
  virtual WindowId findByTitle(const char* title) = 0;
  // Posts WM_QUIT with both parameters 0 to the window's thread queue.
  virtual bool postQuit(WindowId window) = 0;
};

// Everything the tool may ask of Windows. Passed down from the entry point;
// each part takes only the interfaces it uses.
struct Platform {
  Process& process;
  Messages& messages;
  Clock& clock;
  Profile& profile;
  Files& files;
  Registry& registry;
  Desktop& desktop;
};

}  // namespace kvr
