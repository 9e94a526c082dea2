// The release manifest, kova_<version>.manifest: one small JSON text that
// names every part of a release with its SHA-256 and what the release may
// be installed over; one signature covers all of it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/ModemVersion.h"
#include "platform/Text.h"

struct ReleaseManifest {
  struct Part {
    std::string name;
    long long size = -1;  // -1: not given (the image's is required)
    std::string sha256;   // lower-case hex
  };
  std::string version;  // 5.2.0.13
  Part image;
  std::optional<Part> checksum;  // chk_<version>.txt
  std::optional<Part> pic;       // pic.hex
  // What it may be installed over: a running version of this series
  // ("5.2": 5.2.x.y), and not older than lowest; empty: no limit.
  std::string series;
  std::string lowest;
  std::string note;  // shown to the user
};

// nullopt and why in error for anything but a well-formed manifest: a key
// it does not know is refused too, so that no limit is ever skipped.
std::optional<ReleaseManifest> ParseReleaseManifest(std::string_view text, Text& error);

// Why the release may not be installed over running; empty when it may.
Text CompatibilityProblem(const ReleaseManifest& manifest, const ModemVersion& running);
