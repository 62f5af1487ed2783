#include "app/Form1.h"

#include "app/ActMain.h"
#include "app/ActTitle.h"
#include "platform/Bevel.h"
#include "platform/PageLayout.h"
#include "platform/Palette.h"

namespace ombrevale {

namespace {

constexpr int16_t kKeyX = 88;
constexpr int16_t kKeyReturn = 13, kKeySpace = 32;

// A page covers the client area below the menu strip: 6060 x 4560 twips.
constexpr Placement kPagePlace = {0, 0, kPageWidth* kTwipsPerPixel, kPageHeight* kTwipsPerPixel};

Placement Twips(float left, float top, float width, float height) {
  return {left, top, width, height};
}

// The standard sunken frame of a picture container, two pixels (kPageFrame) on each side: shadow
// and dark lines above and on the left, highlight and light lines below and on the right.
void DrawSunkenFrame(Surface& s, const Rect& box) {
  for (const EdgeLine& e : EdgeLines(box, kButtonShadow, kButtonHighlight))
    s.FillRect(e.line, e.color);
  for (const EdgeLine& e : EdgeLines(box.Inset(1), kDarkShadow, kButtonFace))
    s.FillRect(e.line, e.color);
}

}  // namespace

std::string VersionText() {
  std::string text = "ver ";
  text += kVersion;
  text += "\r\n";
  text += kAuthorLine;
  text += "\r\n";
  text += kBuildDate;
  return text;
}

KeyRoute RouteKey(const TimeAPI& time, bool titleVisible, bool mainVisible, int16_t keyCode) {
  if (!time.MessageText.empty()) return keyCode == kKeyX ? KeyRoute::Message : KeyRoute::Swallowed;
  if (titleVisible) return KeyRoute::TitlePage;
  if (mainVisible) return KeyRoute::MainPage;
  return KeyRoute::Nowhere;
}

std::string VersionLine() {
  std::string text(kProductName);
  text += ' ';
  text += kVersion;
  return text;
}

float CentredOffset(float screen, float window) {
  return (screen - window) / 2;
}

Form1::Form1(Platform& platform, TimeAPI& time, SoundAPI& sound, MessageP& message)
    : platform_(platform), time_(time), sound_(sound), message_(message) {
  PageTitle = {
      .Name = "PageTitle", .Place = kPagePlace, .Visible = true, .BackColor = Rgb(0, 0, 64)};
  PageMain = {
      .Name = "PageMain", .Place = kPagePlace, .Visible = false, .BackColor = Rgb(128, 128, 255)};
  PageData = {.Name = "PageData", .Place = Twips(6000, 120, 5175, 5415), .Visible = false};

  PicTitle1.Name = "PicTitle1";
  PicTitle1.Place = Twips(0, 0, 6000, 4500);
  PicTitle1.BackColor = Rgb(0, 0, 0);
  PicTitle1.Image = Surface(kCanvasWidth, kCanvasHeight, PicTitle1.BackColor);

  LabMain1 = {"LabMain1", Twips(3360, 4200, 2535, 375), "Burst", Rgb(255, 128, 128),
              Font{"ＭＳ Ｐゴシック", 12, true}};
  Cursor = {"Cursor", Twips(3120, 5760, 615, 495), Rgb(128, 64, 0)};

  ForEachVisionSource(static_cast<VisionPictures&>(*this),
                      [](PictureBox& box, const VisionSource& source) {
                        box.Name = source.control;
                        box.Place = Twips(source.left, source.top, 495, 495);
                        box.Visible = true;  // shown inside a container that never is
                      });
}

void Form1::Show() {
  Load();
  platform_.desktop.SetMenu({"Version"});
  platform_.desktop.ShowWindow();
}

void Form1::Load() {
  Desktop& desktop = platform_.desktop;
  platform_.random.Randomize(platform_.clock.timeGetTime());
  desktop.SetWindowSize(kLoadWidth, kLoadHeight);
  // The window system may have made the size whole pixels: centre what it really is.
  Left = CentredOffset(desktop.ScreenWidth(), desktop.WindowWidth());
  Top = CentredOffset(desktop.ScreenHeight(), desktop.WindowHeight());
  desktop.SetWindowPosition(Left, Top);
  Caption = VersionLine();
  desktop.SetCaption(Caption);
  InitWindow();
}

void Form1::InitWindow() {
  sound_.StopAllSound();
  ResetPage(PageMain);
  ResetPage(PageTitle);
  PageTitle.Visible = true;
  LoadPictures();
}

void Form1::ResetPage(Page& page) {
  page.Visible = false;
  page.Place = kPagePlace;
}

void Form1::LoadPictures() {
  ForEachVisionSource(static_cast<VisionPictures&>(*this),
                      [this](PictureBox& box, const VisionSource& source) {
                        LoadPictureIfExists(box, source.file);
                      });
}

void Form1::LoadPictureIfExists(PictureBox& control, const std::string& path) {
  // missing: the control keeps what it held
  if (platform_.pictures.FileExists(path).size() < 1) return;
  control.Image = platform_.pictures.LoadPicture(path);
  // The sources are only read from now on: the vision's blits can pass over their black.
  control.Image.NoteInk();
}

void Form1::ShowVersion() {
  platform_.desktop.MessageBox(kProductName, VersionText());
}

void Form1::KeyDown(int16_t& KeyCode, int16_t /*Shift*/) {
  // While the vision waits, Return and Space press its button, as keys press a focused button; the
  // page's handlers never hear them.
  if (calm_.Waiting() && (KeyCode == kKeyReturn || KeyCode == kKeySpace)) {
    calm_.Start(time_);
    return;
  }
  switch (RouteKey(time_, PageTitle.Visible, PageMain.Visible, KeyCode)) {
    case KeyRoute::Message:
      message_.XPressed();
      break;
    case KeyRoute::TitlePage:
      TitleKeyDown(KeyCode);
      break;
    case KeyRoute::MainPage:
      MainKeyDown(KeyCode);
      break;
    case KeyRoute::Swallowed:
    case KeyRoute::Nowhere:
      break;
  }
}

void Form1::MenuClick(int entry) {
  if (entry == 0) ShowVersion();
}

void Form1::PromptClick() {
  calm_.Start(time_);
}

void Form1::VisionFrameShown() {
  // The frame just shown, again as it was shown, now with its clock and the button.
  if (calm_.AfterFrame(time_)) PresentScene(CanvasShown() ? &shownCanvas_.Last() : nullptr);
}

void Form1::Unload() {
  sound_.StopAllSound();
  ended_ = true;
}

void Form1::ComposeChrome() {
  const ChromeKey key{PageTitle.Visible, PageMain.Visible, PageTitle.Place, PageMain.Place};
  if (chromeKey_ == key) return;
  chromeKey_ = key;
  ++chromeRevision_;
  chrome_ = Surface(kPageWidth, kPageHeight, kBackColor);
  for (const Page* page : {&PageTitle, &PageMain}) {
    if (!page->Visible) continue;
    const Rect box = PixelsOf(page->Place);
    chrome_.FillRect(box, page->BackColor);
    if (page->Framed) DrawSunkenFrame(chrome_, box);
  }
  // The cursor figure lies below the client area: drawn, and clipped away.
  for (const EdgeLine& e :
       EdgeLines(PixelsOf(Cursor.Place), Cursor.BorderColor, Cursor.BorderColor))
    chrome_.FillRect(e.line, e.color);
}

void Form1::RefreshCanvas() {
  PresentScene(CanvasShown() ? &shownCanvas_.Take(PicTitle1.Image, platform_.desktop.ShownScale())
                             : nullptr);
}

void Form1::PresentScene(const Surface* canvas) {
  ComposeChrome();
  Scene& scene = scene_;
  scene.chrome = &chrome_;
  scene.chromeRevision = chromeRevision_;
  scene.canvas = nullptr;
  scene.canvasName = {};
  scene.labels.clear();
  scene.prompt = calm_.Waiting() ? &kCalmPrompt : nullptr;
  if (canvas != nullptr) {
    // The canvas fills the title page's client area, inside its frame.
    const int pageX = TwipsToPixels(PageTitle.Place.Left) + (PageTitle.Framed ? kPageFrame : 0);
    const int pageY = TwipsToPixels(PageTitle.Place.Top) + (PageTitle.Framed ? kPageFrame : 0);
    scene.canvas = canvas;
    scene.canvasName = kTitleVisionName;
    scene.canvasX = pageX + TwipsToPixels(PicTitle1.Place.Left);
    scene.canvasY = pageY + TwipsToPixels(PicTitle1.Place.Top);
    scene.labels.push_back(
        {&LabMain1, PixelsOf(LabMain1.Place).Offset(scene.canvasX, scene.canvasY)});
  }
  platform_.desktop.Present(scene);
}

}  // namespace ombrevale
