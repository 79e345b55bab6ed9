#pragma once
// The files the game loads from its data folder, by the names the code hands to the loaders. The
// start-up and the screens load from these lists, and the data-folder test walks the same lists,
// so a file renamed on one side only fails that test. Every path is relative to the data prefix
// (the folder of the executable).

#include <array>

// Folders of the data prefix.
inline constexpr const char* GRAPHICS_FOLDER = "Data/graphics/";
inline constexpr const char* MENUS_FOLDER = "Data/menus/";
inline constexpr const char* SOUND_FOLDER = "Data/sound/";
inline constexpr const char* MUSIC_FOLDER = "Data/music/";
inline constexpr const char* SPEECH_FOLDER = "Data/speech/";
inline constexpr const char* TEXT_FOLDER = "Data/text/";
inline constexpr const char* SETTINGS_FOLDER = "data/";

// Extensions that the image bank, the buttons and the sound loaders add to a bare name.
inline constexpr const char* IMAGE_EXT = ".png";
inline constexpr const char* SOUND_EXT = ".wav";

// The start-up sound bank, in load order: SOUND_FOLDER + name + SOUND_EXT, each named by its name
// in upper case.
inline constexpr std::array<const char*, 9> STARTUP_SOUNDS = {
    "buttonclick", "water", "roll0", "roll1", "exitboard", "swap", "move", "nomove", "win"};
// Sounds loaded by name outside the bank: every menu's mouse-over and click sounds, and the
// shell's escape sound (all SOUND_FOLDER + name + SOUND_EXT).
inline constexpr const char* MENU_MOUSE_OVER_SOUND = "buttonMO";
inline constexpr const char* MENU_CLICK_SOUND = "buttonclick";
inline constexpr const char* ESCAPE_SOUND = "buttonclick";

// The drawn mouse pointer: GRAPHICS_FOLDER + name + IMAGE_EXT; its hot spot is the top-left corner.
inline constexpr const char* POINTER_IMAGE = "pointer";

// An image of the start-up image bank: GRAPHICS_FOLDER + name + IMAGE_EXT. With frames 0 it is one
// picture with its handle at its centre; otherwise an animation strip of that many frames of
// frameWidth by frameHeight, side by side from the left, with the handle at the top-left corner.
struct TBankImageName {
    const char* name;
    int frameWidth;
    int frameHeight;
    int frames;
};
inline constexpr std::array<TBankImageName, 20> BANK_IMAGES = {{
    {"pawn", 0, 0, 0},        {"pawnlight", 0, 0, 0},  {"particle1", 0, 0, 0},
    {"particle2", 0, 0, 0},   {"particle3", 0, 0, 0},  {"particle4", 0, 0, 0},
    {"particle5", 0, 0, 0},   {"special1", 0, 0, 0},   {"special2", 0, 0, 0},
    {"special3", 0, 0, 0},    {"special4", 0, 0, 0},   {"special5", 0, 0, 0},
    {"explain", 324, 132, 6}, {"indicator1", 0, 0, 0}, {"indicator2", 0, 0, 0},
    {"bar", 0, 0, 0},         {"fullscreen", 0, 0, 0}, {"music", 0, 0, 0},
    {"sound", 0, 0, 0},       {"die", 72, 72, 6},
}};

// Pictures loaded by file name (extension included) from GRAPHICS_FOLDER.
inline constexpr const char* DIALOG_BACKGROUND = "dialogbg.png";
inline constexpr const char* BOARD_BACKGROUND = "background.png";
inline constexpr const char* TITLE_BACKGROUND = "menu.png";
inline constexpr const char* OPTIONS_BACKGROUND = "optionsbg.png";
inline constexpr const char* CREDITS_BACKGROUND = "creditsbg.png";
inline constexpr const char* INSTRUCTIONS_BACKGROUND = "howtoplay.jpg";
inline constexpr std::array<const char*, 6> FILE_PICTURES = {
    DIALOG_BACKGROUND,  BOARD_BACKGROUND,   TITLE_BACKGROUND,
    OPTIONS_BACKGROUND, CREDITS_BACKGROUND, INSTRUCTIONS_BACKGROUND};
// The unlock splash: GRAPHICS_FOLDER + name (+ the bonus number when not 0) + IMAGE_EXT.
inline constexpr const char* UNLOCK_IMAGE = "unlock";

// Menu buttons: MENUS_FOLDER + name + IMAGE_EXT, each with its mouse-over picture, the name
// followed by MOUSE_OVER_SUFFIX. The title's network button also has a disabled picture.
inline constexpr const char* MOUSE_OVER_SUFFIX = "MO";
inline constexpr const char* DISABLED_SUFFIX = "_disabled";
inline constexpr std::array<const char*, 21> MENU_BUTTONS = {
    "oneplayer", "twoplayers", "network", "instructions", "options", "exit",   "ankh",
    "LeftArrow", "RightArrow", "on",      "off",          "credits", "OK",     "Yes",
    "No",        "Cancel",     "Create",  "Delete",       "server",  "client", "die"};
inline constexpr std::array<const char*, 1> DISABLED_BUTTONS = {"network"};

// The title music, in MUSIC_FOLDER.
inline constexpr const char* TITLE_MUSIC = "east1.ogg";

// In SETTINGS_FOLDER: the default settings, copied to the player's settings file when it is
// missing, and the distributor logo of the optional start splash (+ IMAGE_EXT, else ".jpg").
inline constexpr const char* DEFAULT_SETTINGS = "Default.ini";
inline constexpr const char* PORTAL_LOGO = "portallogo";
