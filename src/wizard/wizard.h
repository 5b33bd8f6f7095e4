// The main window's logic: the wizard steps behind OK, Back/Exit/quit, the drive list and the
// drive information, start-up, and the event boundary every window event enters through.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "diskset/reader.h"
#include "wizard/events.h"

namespace wizard {

// Form-level variables.
inline int16_t savedListIndex = 0;
inline bool logShown = false;

// ---- The event boundary ----
// Runs one window event. Ending the program (ui::endProgram) unwinds to here and the
// window quits; a platform error that no procedure reported is shown in the "Error!" style and
// logged, and the program goes on. Returns false once the program has ended.
bool dispatch(const std::function<void()>& handler);
bool ended();
// Back to a fresh window's form state (tests).
void resetForm();

// ---- Events ----
void onLoad();
void onOk();
void onBack();
void onExit();
void onLog();
void onDriveChange();
void onDriveListKey();
void onAbout();
// The drives changed (a diskette image went into the floppy drive, media came or went): the
// list shows them, and the chosen drive's information is shown again.
void onDrivesChanged();
// The close request; setting `cancel` keeps the window open.
void onCloseRequest(bool& cancel);

// ---- Steps and prompts ----
// Reads diskette n of the set and shows what the read learns: the progress bar's range and the
// set summary from diskette 1, the way back to the floppy prompt for a diskette of another set.
// `letter`: the drive chosen in the drive list.
diskset::DisketteRead readDiskette(int16_t n, const std::string& letter);
void acceptFloppyDrive();
// Writes the rebuilt image to the card in flashDrive, asking before a database there is
// replaced. 1 when written, -1 when not (reported, or the user declined).
int16_t writeCompactFlash();
void acceptFlashDrive();
void startAnotherCopy();
void promptFloppyDrive();
void promptFlashDrive();
void confirmQuit();

// ---- Drive information ----
void showDriveInfo();
void showDriveSpace();
std::string getDriveTypeText(const std::string& drvpath);
// "Drive X: - LABEL" CR LF " Free Space: n Kbytes".
std::string getFreeSpace(const std::string& drvpath);
// True when the drive list's drive can take the database (shown, OK enabled); false reported.
bool checkFlashDrive();

// "Check Compact Flash card...": the card in the drive of the drive list entry `entry` (or a
// drive name) checked with no diskette: an earlier write finished, every file read and held
// against the card's own archive.dat, the finding logged and shown in one box. The wizard's
// state and step stay as they were.
void checkCard(const std::string& entry);

// Kept diskette images: the host folder (UTF-8) that every accepted diskette is saved in as
// archive<ID>-disk<N>.img, with its .bad list; "" for none (the start).
void keepImagesIn(const std::string& hostFolder);
const std::string& keptImagesFolder();

// The digit grouping of free-space figures: the user's by default; the script front end
// fixes ",".
void setDigitGrouping(std::string separator);
std::string groupDigits(uint64_t value);

}  // namespace wizard

namespace wizard {
// The About entry: loads the dialog once and shows it non-modally, or brings it forward.
void showAbout();
// The dialog's OK button: unloads it.
void onAboutOk();
}  // namespace wizard
