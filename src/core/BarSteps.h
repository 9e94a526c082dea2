// Where the progress bar stands at each step of an operation, declared once
// per operation. Field users know these values from the bar; they are not a
// share of the work done, and the bar may go back (80 without a PIC file,
// then 40 with one on the next upgrade).
#pragma once

enum class UpgradeStep {
  Begun,          // the checks passed, nothing sent yet
  UploadAtOnce,   // the running image is backed up already: the new one goes up
  BackupFetched,  // the running image is on the PC, its checksum is fetched
  PicStored,      // pic.hex went up after the image: the reflash follows
  PicPassedOver,  // the image and checksum are stored, no PIC to send
};

enum class RestoreStep { Begun };

enum class PicUpgradeStep {
  Begun,
  PicStored,  // pic.hex is on the modem; the reflash follows
};

enum class ReflashStep { Completed };

enum class VersionReadStep { Read };

constexpr int BarAt(UpgradeStep step) {
  switch (step) {
    case UpgradeStep::Begun: return 0;
    case UpgradeStep::UploadAtOnce: return 10;
    case UpgradeStep::BackupFetched: return 20;
    case UpgradeStep::PicStored: return 40;
    case UpgradeStep::PicPassedOver: return 80;
  }
  return 0;
}

constexpr int BarAt(RestoreStep) { return 0; }

constexpr int BarAt(PicUpgradeStep step) { return step == PicUpgradeStep::Begun ? 0 : 40; }

constexpr int BarAt(ReflashStep) { return 100; }

constexpr int BarAt(VersionReadStep) { return 100; }

// Each 10 s tick of a running reflash moves a bar still below 100 on: it
// stands at 70, 80, 90, 100 after the first four.
constexpr int BarAtReflashTick(int tick) { return 60 + 10 * tick; }
