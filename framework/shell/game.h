#pragma once
// The game object: one record holding every setting, folder, display and audio state, speed mode,
// pause state, hot-key switch and debug value of the running program, owning the objects every
// screen shares, and carrying the shell's operations. The game extends it (TMyGame); exactly one
// instance exists, the global Game.

#include "framework/util/object.h"
#include "platform/audio.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {
class TFileLock;
}

class TIniFile;
class TFixedRateLogic;
class TDebugVar;
class TFPSCounter;
class TLoadingScreen;
class TScreen;
class TGameFade;
class TMousePointer;
class THighScoreList;
class TMyProfile;
class TChannelArray;
class TGameSound;
class TSprite;
class TGameImage;

// Length in milliseconds of every screen fade.
constexpr int FADE_SPEED = 500;

class TGame : public TObject {
public:
    TGame();
    ~TGame() override;

    // ---- Life cycle ----
    // Start-up of the game object: folders, settings, sound driver, channels. choice picks the
    // sound driver (0 or less: the one the settings name).
    virtual int Init(int choice);
    int Kill();

    // ---- Settings and crash recovery ----
    int IniFill();
    int IniExtract();
    virtual int IniUpdate(int flag);
    // Writes the good-exit marker of the global game object (class-level: no object needed), when
    // its run made the last change of the settings.
    static int MakeGoodExit();
    int CheckGoodExit();
    int ParticlesSet(int amount, int save);
    int ParticlesChange(int step);

    // ---- Display and window ----
    int GraphicsCreate();
    int SetPriority();
    int ToggleFullScreen();
    int ToggleVSync();
    int SetDriver(int driver);
    int SetGP(int x, int y);
    int CheckWindow();
    int SetWindowCoords();
    int SetClientCoords();
    int GameTerminated();

    // ---- Debug overlay ----
    int DebugReset();
    int DebugPrint();
    // The overlay's lines of text, top to bottom.
    std::vector<std::string> DebugLines();

    // ---- Pause, speed modes and escape sound ----
    int SpritePausedCreate(const std::shared_ptr<TGameImage>& image);
    int ShowPaused();
    int FastOn();
    int FastOff();
    int SlowMotionOn();
    int SlowMotionOff();
    int SetFlipSync();
    int Pause();
    int UnPause();
    float PauseFadeCalc();
    int PauseFadeApply();
    int PauseFadeManage();
    int SetEscapeSound(const std::string& file);
    int EscapeSoundPlay();
    int MoveBar();
    int Fading();
    int FadeOff();
    // How every screen leaves: a fade-out over FADE_SPEED, after which ScreenChange switches to
    // destination. The channel fades with the picture (MusicChannel, or null to let the music
    // play on); allowAnim keeps the screen's logic running under the fade.
    int LeaveTo(const std::shared_ptr<TScreen>& destination,
                const platform::ChannelPtr& channel = nullptr, int allowAnim = 1);
    // How a screen that wants one comes up from black after its Start.
    int FadeIn(int allowAnim);

    // ---- Folders ----
    int SetDefaultPaths();
    int SetSubPath(const std::string& path);
    int SetSubPathWrapper(const std::string& folderName);
    int ApplySubPath();
    int SetImagePath(const std::string& path);
    int SetSoundPath(const std::string& path);
    int SetMusicPath(const std::string& path);
    int SetSpeechPath(const std::string& path);
    int SetMenuPath(const std::string& path);
    int SetProfilePath(const std::string& path);
    int SetTextPath(const std::string& path);

    // ---- Hot keys ----
    virtual int ReadKeys();
    // The hot-key reader; withExtraKeys adds the boss key and the sound-driver key.
    int ReadHotKeys(int withExtraKeys);
    // Its parts by concern, in the order it runs them. ReadCloseRequest returns -1 when the
    // program is to end at once.
    int ReadCloseRequest();
    int ReadPauseKey();
    int ReadEscapeKey();
    int ReadFrameworkKeys(int withExtraKeys);
    int ReadDebugKey();
    int ReadPlacementKeys();

    // ---- Music, sound and speech ----
    virtual int MusicLoad(const std::string& file, int looped);
    virtual int MusicStop();
    virtual int MusicPlay(int fadeIn);
    int MusicNone();
    // Starts the music channel with its fade-in; cue 1 cues MusicSample into it first (and needs
    // one), cue 0 resumes what the channel holds.
    int MusicStart(int fadeIn, int cue);
    float MusicFadeInCalc();
    int MusicFadeInApply();
    int MusicFadeInManage();
    int MusicSetVolume(int volume, int save);
    int MusicChangeVolume(int step);
    int ToggleMusic();
    int MusicOff();
    int MusicOn();
    int ChannelsCreate(int count);
    int ChannelsKill();
    int ChangeSoundDriver(const std::string& name, int save);
    int SoundPlay(const platform::SoundPtr& sound);
    int SoundPlaySameChannel(platform::ChannelPtr& channel, const platform::SoundPtr& sound);
    int SoundPlayReturnChannel(platform::ChannelPtr& channel, const platform::SoundPtr& sound,
                               float rate);
    int GameSoundPlay(platform::ChannelPtr& channel, const std::shared_ptr<TGameSound>& sound,
                      float pan);
    int SoundSetVolume(int volume, int save);
    int SoundChangeVolume(int step);
    int ToggleSound();
    int SoundOff();
    int SoundOn();
    int SpeechStop();
    int SpeechPlay(const std::shared_ptr<TGameSound>& sound, int interrupt);
    int SpeechSetVolume(int volume, int save);
    int SpeechChangeVolume(int step);
    int SpeechOff();
    int SpeechOn();
    int StopChannels();

    // ---- Main loop ----
    int MainLogicLoop();
    int LogicWrapper();
    virtual int DoPeekEvent();
    int ScreenDraw();
    int PostDraw();
    int ScreenChange();
    // Drains the event queue into the input arrays and the pointer, dropping suspend and resume.
    int PumpInputEvents();

    // The file names the settings and markers use (the folder rules of the settings file).
    std::string AppName();
    std::string IniFilePath();
    std::string GoodExitPath();
    std::string IniChangedPath();

    // ---- Timing ----
    float CalcAnimLength(int ms);
    float CalcAnimLengthFromFloat(float ms);

    // ---- Fields ----
    std::shared_ptr<TIniFile> Ini;
    int FullScreen = 1;
    int ForceWindowedMode = 0;
    int Hertz = 60;
    int DesktopRefreshRate = 0;
    int GameRefreshRate = 0;
    int Fast = 0;
    int LastFlipSync = 0;
    int SlowMotion = 0;
    float SlowMotionSpeed = 0.25f;
    float CurrentSpeed = 1.0f;
    int WindowHandle = 0;
    int WindowX = 0, WindowY = 0;
    int ClientX = 0, ClientY = 0;
    float ScrollX = 0.0f, ScrollY = 0.0f;
    std::shared_ptr<TScreen> CurrentTScreen;
    std::shared_ptr<TScreen> DestinationTScreen;
    std::shared_ptr<TScreen> LastTScreen;
    int LagFix = 0;
    int VSync = 1;
    int FadeOnExit = 1;
    int NoTiming = 0;
    int NoTimingTicks = 1;
    int Driver = 0;
    std::string DirectXVersion;
    int FadeMouse = 0;
    int DesktopWidth = 0, DesktopHeight = 0;
    int FullScreenProcess = 0, FullScreenThread = 0;
    int WindowedProcess = 0, WindowedThread = 0;
    int DataInAppBundle = 0;
    int UseCorrectPath = 1;
    std::string SubPath = "Vantorel/My Game/";
    std::string DataPrefix;
    std::string ImagePath, SoundPath, MusicPath, SpeechPath, MenuPath, ProfilePath, TextPath;
    int Sound = 1, Music = 1, Speech = 1;
    int SoundVolume = 100, MusicVolume = 100, SpeechVolume = 100;
    platform::SoundPtr MusicSample;
    platform::ChannelPtr MusicChannel;
    std::string MusicFileName = "none", MusicName = "none";
    int MusicLooped = 1;
    int MusicRestart = 1;
    int MusicStopped = 0;
    float MusicFadeIn = 50.0f;
    float MusicFadeInCounter = 0.0f;
    float PauseFadeLength = 100.0f;
    float PauseFadeCounter = 0.0f;
    int PauseFadeDirection = 0;
    platform::ChannelPtr SpecialChannel;
    int FadeMusic = 1;
    std::shared_ptr<TGameSound> EscapeSound;
    platform::ChannelPtr EscapeChannel;
    std::string SoundDriver = "FreeAudio";
    std::shared_ptr<TChannelArray> Channels;
    platform::ChannelPtr SpeechChannel;
    int SpeechStopped = 0;
    std::shared_ptr<TSprite> SpritePaused;
    int FirstTime = 1;
    int InstantExit = 0;
    int Fade = 1;
    int NoFade = 0;
    int NoDraw = 0;
    int Particles = 80;
    int PortalSplash = 0;
    int PortalSplash2 = 0;
    int IntroShow = 0;
    int Paused = 0;
    int DimWhenPaused = 1;
    int PauseOnLossOfFocus = 0;
    int PausedMusicState = 1, PausedSpeechState = 1;
    int Suspended = 0;
    int BlockKeys = 0;
    int MaxLevels = 10;
    int TerminatedEvent = 0;
    std::function<int()> TerminatedUserFunction;
    int SuspendedEvent = 0;
    int IgnoreEscapeKey = 0;
    int IgnoreFrameworkKeys = 0, IgnorePauseKey = 0, IgnoreDebugKey = 0;
    std::string OSVersion = "Linux";
    std::shared_ptr<TFixedRateLogic> FixedRateLogic;
    int Debug = 0;
    int DebugShadow = 1;
    float DebugPanel = 0.4f;
    int Debug1 = 0, Debug2 = 0;
    float Debug3 = 0.0f, Debug4 = 0.0f;
    int DebugDisplayX = 0, DebugDisplayY = 0;
    std::shared_ptr<TDebugVar> LogicTime, DrawTime, CodeTime;
    std::shared_ptr<TFPSCounter> FPS;
    int GraphicPlacement = 0;
    int gpX = 0, gpY = 0;
    std::shared_ptr<TLoadingScreen> LoadingScreen;
    std::shared_ptr<TScreen> ExitScreen;
    std::shared_ptr<TGameFade> GameFade;
    std::shared_ptr<TMousePointer> Mouse;
    std::shared_ptr<THighScoreList> HighScores;
    std::shared_ptr<TMyProfile> CurrentProfile;
    std::string ProfileName;
    int Region = 0;

private:
    // This run's lock on the settings-changed marker, from the first change it saves to its end:
    // while it is held, a start of another copy on the same folder sees that this run is alive.
    std::unique_ptr<platform::TFileLock> IniChangedLock;
    // What this run writes into the marker at each change it saves, and into the good exit it
    // leaves: a good exit speaks only for the run whose change was the last one.
    std::string RunStamp;
};

// The one game object, created by start-up and never replaced during a run (tests make a new one
// per case).
extern std::unique_ptr<TGame> Game;

// Drops the game object and puts every global of the framework back to its value at start, so
// that one process can set the framework up more than once (the test suite does, per test).
void ResetGlobals();
