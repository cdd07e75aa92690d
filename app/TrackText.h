#pragma once

// The texts the desktop bus carries about a track: its title, its file URI, and the file a
// URI names. Pure functions, so that they are tested without a bus.

#include <cstdint>
#include <optional>
#include <string>

// The file name without its folders and its extension, as valid UTF-8: a name that is valid
// UTF-8 is taken as UTF-8, anything else as Windows-1251 (the rule the window's text follows).
std::string TrackTitle(const std::string& path);

// The bytes as UTF-8 by the same rule.
std::string DecodeText(const std::string& bytes);

// "file://" and the absolute path, every byte outside the unreserved characters and '/'
// percent-encoded.
std::string FileUri(const std::string& absolutePath);

// The absolute path a "file:" URI names (an empty or "localhost" host only), percent-decoded;
// nothing for other schemes, other hosts, bad escapes or an embedded zero byte.
std::optional<std::string> PathOfFileUri(const std::string& uri);

// The path as an absolute one: a relative path is taken from 'folder'.
std::string AbsolutePath(const std::string& path, const std::string& folder);

// What the desktop is told about a track. LengthUs is in microseconds.
struct TrackMetadata {
    std::string TrackId; // a D-Bus object path, new for each track played
    std::int64_t LengthUs = 0;
    std::string Url;
    std::string Title;
};

// The track playing 'path' (relative paths taken from 'folder'), 'lengthMs' long, numbered
// 'trackNumber' since the start.
TrackMetadata DescribeTrack(const std::string& path, std::uint32_t lengthMs,
                            std::uint64_t trackNumber, const std::string& folder);
