// Whole-file reads and writes over kernel32, shared by the heart icon files
// and the saved layout: a file is read to its exact size, written in full,
// or replaced atomically; every failure raises a RuntimeError.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>

namespace corvella {

// Fills `bytes` from the file's current position; a file that ends first
// fails. `what` names the file in the failure.
void ReadExactly(HANDLE file, std::span<std::uint8_t> bytes, const std::string& what);

// Writes every byte, however many calls that takes.
void WriteAll(HANDLE file, std::span<const std::uint8_t> bytes, const std::string& what);

// Moves a file over another of the same volume, replacing it, and returns
// once the move is on the disk.
void MoveFileOver(const std::wstring& from, const std::wstring& to);

// Replaces `target` in `folder` with `bytes` so that it is either the old
// file or the whole new one: written to a temporary file in the same folder,
// flushed, then moved over the target.
void ReplaceFileAtomically(const std::wstring& folder, const std::wstring& target, std::span<const std::uint8_t> bytes);

// Deletes the temporary files that replacements cut off before their move
// (the program ended or the machine stopped) left in `folder`. A file that
// cannot be deleted stays, and so does anything else in the folder.
void RemoveLeftoverTemporaryFiles(const std::wstring& folder);

}  // namespace corvella
