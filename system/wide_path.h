// The file-path and text boundary: Windows names files in UTF-16, the
// program's own texts are in the ANSI code page (Shift-JIS), the lyrics in
// UTF-8. Paths are opened by their real UTF-16 form and only turned into
// ANSI to be shown.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "lyrics/byte_stream.h"

namespace velomar {

// The path as the system shows it in ANSI: a character the code page
// cannot hold becomes what Windows puts for it ("?" or a look-alike).
std::string ShownPath(const std::wstring& path);

// An ANSI path (a typed name, an ANSI call's result) as UTF-16.
std::wstring WidePath(const std::string& path);

// The lyrics' UTF-8 as the UTF-16 of Unicode windows, and back.
std::wstring Utf8ToWide(const std::string& utf8);
std::string WideToUtf8(const std::wstring& wide);

// Opens an existing file for reading by its real path, unshared as the
// lyric file layer does, or `shared` with a program that has it open (MCI
// holds an open song); nullptr when it cannot.
std::unique_ptr<ByteSource> OpenForReading(const std::wstring& path, bool shared = false);

// Writes `bytes` to the file at its real path the way a lyric file is saved:
// through a file beside it that replaces the target only when complete.
bool WriteWholeFile(const std::wstring& target, const std::string& bytes);

// The running program's real path, also in a folder whose name the ANSI
// code page cannot hold; "" when the system cannot tell.
std::wstring ExecutableWidePath();
// The same as the ANSI calls have it, which name the lyric files saved
// beside the program.
std::string ExecutableAnsiPath();

// True when `path` names a file (not a folder) that exists.
bool IsFile(const std::wstring& path);

// "C:\music\kaze.wav": the folder with its backslash, "C:\music\" ("" for
// a bare name), and the name without its extension, "kaze" (a name without
// a dot is kept whole).
std::wstring FolderOf(const std::wstring& path);
std::wstring NameWithoutExtension(const std::wstring& path);

}  // namespace velomar
