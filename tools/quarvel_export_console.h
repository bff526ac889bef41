#pragma once
// quarvel-export's standard streams. Messages are in the terminal's encoding: the
// locale's codeset on POSIX systems, UTF-8 on Windows, where the arguments arrive
// as UTF-16 and are passed on as UTF-8 and a console is written as UTF-16.
#include <string>
#include <string_view>

namespace quarvel_export {

enum class Stream { Output, Error };

// The codeset of arguments and messages; after setlocale(LC_ALL, "") on POSIX.
std::string terminalCodeset();

// The whole text, or false when it could not get out.
bool writeText(Stream stream, std::string_view text);
// Standard output's buffered text on its way; false when it could not get out.
bool flushOutput();
// A line that needs no memory, for when nothing else can be shown.
void writeFixedError(std::string_view text) noexcept;

// The descriptor that exported data goes to with `-o -`: bytes as they are, so a
// line keeps its CR LF on Windows too.
int dataOutputDescriptor();

}  // namespace quarvel_export
