// The one routine that puts a picture into the main window: a file of the file list, or a picture handed in
// (pasted or captured). Every failure ends in one handler that explains it and leaves the window on its logo.

#include "main/core/MainWindowView.h"
#include "main/core/Module1.h"
#include "main/core/PictureDecoders.h"
#include "main/core/SettingsNames.h"

#include "lib/imgEditbuf/Client.h"
#include "platform/comctl/StatusBar.h"
#include "platform/forms/Form.h"
#include "platform/runtime/MsgBox.h"
#include "platform/forms/Screen.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/controls/TextBox.h"
#include "platform/runtime/App.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/Dates.h"
#include "platform/runtime/ErrorSteps.h"
#include "platform/runtime/FileSystem.h"
#include "platform/runtime/OwnedHandles.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/Strings.h"

#include <windows.h>

#include <cstdlib>
#include <optional>

namespace Module1 {

namespace {

constexpr int kDecoderNone = 0;
constexpr int kDecoderPcx = 1;
constexpr int kDecoderOther = 2;
constexpr DWORD kRegistrationWaitMs = 30000;

constexpr char kGif87aWarning[] =
    "Quillview can sometimes give poor performance loading the older 87a GIF file type, for this reason if you "
    "notice poor loading performance for some GIF files we recommend turning OFF 87a animated GIF support in the "
    "'Advanced' tab of Options. Please note that this does not effect 89a GIF types. Would you like to see further "
    "information on this now?";

forms::StdPicture Adopt(const imgbuf::client::PicturePtr& picture) {
    return forms::StdPicture::FromObject(picture.Get());
}

// A picture of the pixel size, as a bitmap: a bitmap of that size is used as it is, anything else (metafiles,
// icons, pictures whose bitmap is of another size) is drawn once onto the picture box's background colour.
forms::StdPicture AsBitmap(const forms::StdPicture& picture, int width, int height, COLORREF background) {
    if (picture.Type() == forms::PictureType::Bitmap) {
        BITMAP info{};
        if (GetObjectA(picture.Handle(), sizeof info, &info) && info.bmWidth == width &&
            std::abs(info.bmHeight) == height) {
            return picture;
        }
    }
    const forms::ScopedGetDC screen(nullptr);
    forms::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    const forms::UniqueDC memory(CreateCompatibleDC(screen.get()));
    if (!bitmap || !memory) throw forms::RuntimeError(forms::err::CannotDrawPicture);
    {
        const forms::ScopedSelect selected(memory.get(), bitmap.get());
        const forms::UniqueBrush brush(CreateSolidBrush(background));
        const RECT all{0, 0, width, height};
        FillRect(memory.get(), &all, brush.get());
        picture.Render(memory.get(), 0, 0, width, height);
    }
    return forms::StdPicture::FromBitmap(bitmap.release());
}

// The registration tool run on the program folder's picture buffer library, waited for (bounded).
bool RegisterPictureLibrary(const std::string& tool, const std::string& library) {
    std::string command = "\"" + tool + "\" /s \"" + library + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINNOACTIVE;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(tool.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    const DWORD waited = WaitForSingleObject(process.hProcess, kRegistrationWaitMs);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    return waited == WAIT_OBJECT_0 && code == 0;
}

void RepairOtherFormats() {
    forms::MsgBox("The following formats are not supported on your system due to an installation failure: 'eps', "
                  "'png', 'tga', 'pct', 'tif'\r\n\r\nClick OK and Quillview will attempt to fix the problem.",
                  forms::mb::Critical, "Image Load Error");
    const std::string tool = forms::JoinPath(GetSystemDir(), "regsvr32.exe");
    if (forms::Dir(tool).empty()) {
        forms::MsgBox("Cannot find regsvr32.exe in the Windows system directory! Please reinstall Quillview.");
        return;
    }
    const std::string library = forms::JoinPath(forms::App::Path(), "rvimgctl.dll");
    if (forms::Dir(library).empty()) {
        forms::MsgBox("Cannot find rvimgctl.dll in the Quillview program directory! Please reinstall Quillview.");
        return;
    }
    bool repaired = false;
    forms::IgnoringErrors([&] {
        if (RegisterPictureLibrary(tool, library)) {
            NewImgEditCtlBuf();
            repaired = true;
        }
    });
    if (repaired) {
        forms::MsgBox("Quillview has now checked for the component's presence in your windows system directory and "
                      "has registered it to the system.\r\n\r\nPlease try loading the image again, if it fails "
                      "please feel free to contact support",
                      forms::mb::Exclamation);
    } else {
        forms::MsgBox("Quillview could not register the component to the system.\r\n\r\nPlease reinstall Quillview.",
                      forms::mb::Critical);
    }
}

// Every way a load ends in failure: the logo, the default pointer.
void EndOnLogo(MainWindowView& view) {
    forms::IgnoringErrors([&] { view.ShowLogo(); });
    gCurrentImagePath.clear();
    forms::IgnoringErrors([&] { view.LoaderWindow().SetMousePointer(forms::pointer::Default); });
}

void HandleLoadError(MainWindowView& view, const forms::RuntimeError& error, int decoderKind, bool fromFile) {
    switch (error.Number()) {
    case forms::err::CannotDrawPicture:
        forms::MsgBox("The image cannot be rendered to the canvas! There is not enough available memory for this "
                      "operation. Error number: 480; Cannot render image.",
                      forms::mb::Critical, "Critical Error");
        EndOnLogo(view);
        return;
    case forms::err::CannotCreateObject:
        EndOnLogo(view);
        if (decoderKind == kDecoderPcx) {
            forms::MsgBox("The PCX file format is not supported on this system", forms::mb::Critical,
                          "Image Load Error");
            forms::IgnoringErrors([&] { view.CheckPCXSupport(); });
        } else if (decoderKind == kDecoderOther) {
            RepairOtherFormats();
        }
        return;
    case forms::err::InvalidPicture:
    case forms::err::ObjectNotSet: {
        const std::string path = gCurrentImagePath;
        EndOnLogo(view);
        if (!fromFile) return;
        if (PictureExtension(path) == "rle") {
            forms::MsgBox("Cannot load Compuserve RLE image formats, OVS does not have the rights for this "
                          "operation. Quillview is only compatible with Windows RLE formats.");
        } else {
            forms::MsgBox("The file " + path + " is an invalid or unknown image format. The file extension "
                          "indicates it should be supported, it may have an incorrect extension");
        }
        return;
    }
    default:
        forms::MsgBox(error.Description(), forms::mb::Critical, std::to_string(error.Number()));
        EndOnLogo(view);
        return;
    }
}

// The file chosen in the file list, decoded; the decoder kind is kept for the error handler.
forms::StdPicture LoadChosenFile(MainWindowView& view, const std::string& fileName, int& decoderKind) {
    const PictureDecoder decoder = DecoderFor(fileName);
    forms::StdPicture picture;
    switch (decoder) {
    case PictureDecoder::System:
        picture = LoadSystemPicture(gCurrentImagePath);
        break;
    case PictureDecoder::Jpeg:
        picture = LoadJpegPicture(gCurrentImagePath);
        break;
    case PictureDecoder::Gif:
        picture = LoadSystemPicture(gCurrentImagePath);
        if (IsGif89a(gCurrentImagePath)) {
            gGif87a = 0;
        } else {
            gGif87a = 1;
            if (!forms::GetSettingBool(settingsnames::kApp, "Options", "gif87warn", false)) {
                const int answer =
                    forms::MsgBox(kGif87aWarning, forms::mb::YesNo | forms::mb::Information, "GIF 87a Support");
                forms::SaveSetting(settingsnames::kApp, "Options", "gif87warn", "True");
                if (answer == forms::answer::Yes) ShowContextHelp(10001);
            }
        }
        break;
    case PictureDecoder::Pcx:
        // The buffer object is made only for its own formats: the others load without the library.
        decoderKind = kDecoderPcx;
        picture = Adopt(NewImgEditCtlBuf().LoadImage(gCurrentImagePath));
        break;
    case PictureDecoder::OtherFormats:
        decoderKind = kDecoderOther;
        picture = Adopt(NewImgEditCtlBuf().LoadOtherImage(gCurrentImagePath));
        break;
    case PictureDecoder::None:
        throw forms::RuntimeError(forms::err::InvalidPicture);
    }
    view.ImageSaved();
    return picture;
}

void ShowPanels(MainWindowView& view, const std::string& fileName) {
    if (!gCurrentImagePath.empty()) {
        view.SetStatusPanelText("date", forms::GeneralDateText(forms::FileDateTime(gCurrentImagePath)));
        view.SetStatusPanelWidth("date", 150);
        view.SetStatusPanelText("fname", fileName);
        view.SetStatusPanelWidth("fname", 200);
        const std::int64_t bytes = forms::FileLen(gCurrentImagePath);
        view.SetStatusPanelText("size", FileSizeText(bytes));
        if (bytes >= 1024) view.SetStatusPanelWidth("size", 70);
        view.LoaderWindow().SetCaption("Quillview - " + fileName);
        // The type follows the name the status bar shows.
        const std::string extension = PictureExtension(view.StatusPanelText("fname"));
        view.ExtensionBox().SetText(extension);
        view.SetStatusPanelWidth("ftype", extension == "png" ? 200 : 100);
        const std::string type = FileTypeText(extension, gGif87a == 1);
        if (!type.empty()) view.SetStatusPanelText("ftype", type);
        gImageSaved = true;
    } else {
        view.SetStatusPanelText("date", forms::ShortDateText(forms::Today()));
        view.SetStatusPanelWidth("date", 150);
        view.SetStatusPanelText("fname", "Unsaved");
        view.SetStatusPanelWidth("fname", 200);
        view.SetStatusPanelText("size", "0 Bytes");
        view.LoaderWindow().SetCaption("Quillview - Unsaved Image");
        view.ExtensionBox().SetText("");
        view.SetStatusPanelWidth("ftype", 100);
        view.SetStatusPanelText("ftype", "Unknown");
        gImageSaved = false;
    }
    view.SetStatusPanelText("dimen", std::to_string(gImageWidth) + "x" + std::to_string(gImageHeight));
    view.SetStatusPanelWidth("dimen", 120);
    if (view.Tiled()) {
        view.SetStatusPanelText("mode", "Mode: Tile");
    } else if (view.DisplayMode() == 101) {
        view.SetStatusPanelText("mode", "Mode: Actual Size");
    } else if (view.DisplayMode() == 102) {
        view.SetStatusPanelText("mode", "Mode: Best Fit");
    }
}

// Image1 holds the picture at its pixel size, centred in the picture area where it is smaller, with the
// scroll bars covering what lies beyond the area's outer size.
void PlacePicture(MainWindowView& view, const forms::StdPicture& picture) {
    forms::Form& window = view.LoaderWindow();
    gImageWidth = forms::CLng(window.ScaleX(static_cast<float>(picture.Width()), forms::ScaleMode::HiMetric,
                                            forms::ScaleMode::Pixels));
    gImageHeight = forms::CLng(window.ScaleY(static_cast<float>(picture.Height()), forms::ScaleMode::HiMetric,
                                             forms::ScaleMode::Pixels));
    if (gImageWidth < 1 || gImageHeight < 1) throw forms::RuntimeError(forms::err::InvalidPicture);

    forms::PictureBox& image = view.PictureHolder();
    forms::PictureBox& area = view.PictureArea();
    image.SetPicture(forms::StdPicture::Empty());
    image.Move(0, 0, static_cast<float>(gImageWidth), static_cast<float>(gImageHeight));
    image.SetPicture(AsBitmap(picture, gImageWidth, gImageHeight, forms::ToColorRefOr(image.BackColor(), RGB(0, 0, 0))));

    const float height = static_cast<float>(gImageHeight);
    const float width = static_cast<float>(gImageWidth);
    if (height < area.ScaleHeight()) image.SetTop((area.ScaleHeight() - height) / 2);
    if (width < area.ScaleWidth()) image.SetLeft((area.ScaleWidth() - width) / 2);

    view.DisplayImage();

    // The size the display mode gave the picture, not its own: a picture fitted to the view has nothing to
    // scroll.
    if (!view.Tiled()) {
        const auto beyond = [](float shown, float outer) -> std::optional<std::int32_t> {
            if (shown <= outer) return std::nullopt;
            return forms::CLng(static_cast<double>(shown) - outer);
        };
        view.SetScrollRange(true, beyond(image.Height(), area.Height()));
        view.SetScrollRange(false, beyond(image.Width(), area.Width()));
    }
    view.PictureShown();
}

}  // namespace

namespace {

void Load(const std::optional<forms::StdPicture>& Pic) {
    MainWindowView& view = MainWindow();
    int decoderKind = kDecoderNone;
    const bool fromFile = !Pic.has_value();
    try {
        view.EnablePictureMenus();
        forms::StdPicture picture;
        std::string fileName;
        if (fromFile) {
            fileName = view.SelectedFileName();
            gCurrentImagePath = forms::JoinPath(view.FolderPath(), fileName);
            if (forms::Dir(gCurrentImagePath).empty()) {
                forms::MsgBox("The selected file cannot be found!");
                view.RefreshFileList();
                forms::IgnoringErrors([&] { view.ShowLogo(); });
                gCurrentImagePath.clear();
                view.ImageStatic();
                return;
            }
            view.LoaderWindow().SetMousePointer(forms::pointer::Hourglass);
            picture = LoadChosenFile(view, fileName, decoderKind);
        } else {
            picture = *Pic;
            gCurrentImagePath.clear();
            gSuppressFileClick = true;
            view.RefreshFileList();
            view.ClearFileListSelection();
            gSuppressFileClick = false;
            view.ImageStatic();
        }

        // The panels are added, sized and written many times over below: the bar shows only the last of it.
        const forms::StatusBar::Batch panelsAtOnce(view.StatusPanels());
        view.PictureHolder().SetVisible(false);
        if (!gStatusPanelsReady) {
            for (const char* key : {"date", "size", "dimen", "fname", "mode"}) view.AddStatusPanel(key);
            gStatusPanelsReady = true;
            view.DoColour();
            view.SetLogoShown(false);
        }
        if (view.LogoShown()) view.DoColour();

        // A result without a picture shows nothing new over the old one.
        if (picture.IsNothing() || !picture.Handle()) throw forms::RuntimeError(forms::err::InvalidPicture);
        PlacePicture(view, picture);
        ShowPanels(view, fileName);
    } catch (const forms::RuntimeError& error) {
        gSuppressFileClick = false;
        HandleLoadError(view, error, decoderKind, fromFile);
    }
}

}  // namespace

void ShowImage() { Load(std::nullopt); }

void ShowImage(const forms::StdPicture& Pic) { Load(Pic); }

}  // namespace Module1
