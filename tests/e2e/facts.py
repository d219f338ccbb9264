"""What the shell is expected to show, named once for every end-to-end test.

The tests state these themselves rather than read them from the product's sources, so that a
wrong number in the product shows up as a failing test. Where the product holds each one:
- the caption, border, minimum size, icon and title places: `src/skin/skin_geometry.h`;
- the caption buttons' places: `src/skin/caption_buttons.h`, sized by their skin images
  (`res/Skins/Default/dialog/`); their names are those assistive technologies read;
- the window's title, the About dialog's and the settings file's name: `res/resources.cpp`;
- the version the pages read: `src/app/simple_app.cpp`; the about page's address:
  `src/mainwnd/main_frm_caption.cpp`; the load-error page: `src/client/load_error_page.cpp`;
- the pages' titles and background: `example/`;
- the frame's command ids: `src/platform/command_ids.h`.

Places and sizes are in logical pixels of the window, origin at its top-left corner."""

import os

# The frame.
CAPTION_HEIGHT = 38
BORDER_WIDTH = 3
MIN_WIDTH, MIN_HEIGHT = 951, 681
ICON_SPOT = (22, 20)  # on the caption's small icon, which opens the system menu
TITLE_RECT = (36, 8, 80, 24)  # (x, y, width, height) that the title's first letters fill

# The caption buttons, left to right, as readers name them: each one's right edge lies this far
# left of the window's right edge.
BUTTON_RIGHT_INSETS = {"About": 76, "Minimize": 54, "Maximize": 32, "Close": 10}
BUTTON_TOP, BUTTON_WIDTH, BUTTON_HEIGHT = 8, 20, 22


def button_rect(name, window_width):
    """(x, y, width, height) of a caption button in a window window_width wide."""
    right = window_width - BUTTON_RIGHT_INSETS[name]
    return (right - BUTTON_WIDTH, BUTTON_TOP, BUTTON_WIDTH, BUTTON_HEIGHT)


def button_centre(name, window_width):
    """(x, y) of a caption button's centre in a window window_width wide."""
    x, y, width, height = button_rect(name, window_width)
    return (x + width // 2, y + height // 2)


# The default skin's colours ('RRGGBB'): the frame's outer edge, the caption and borders, and
# the close button under the pointer.
OUTLINE, BODY = "141B1F", "263238"
CLOSE_HOVER = "E53935"

# Titles: plain, and as the window-title patterns the display helpers search for.
APP_TITLE = "lumerock"
MAIN_TITLE = f"^{APP_TITLE}$"
POPUP_PAGE_TITLE = "Vintrel popup"  # example/popup.html
POPUP_TITLE = f"^{POPUP_PAGE_TITLE}$"
FRAME_PAGE_TITLE = "Embedded frame"  # example/frame.html
FRAME_POPUP_TITLE = f"^{FRAME_PAGE_TITLE}$"
START_PAGE_TITLE = "Vintrel example"  # example/request.html
DEVTOOLS_TITLE = "^DevTools$"
DOWNLOADS_TITLE = "^Downloads$"
ABOUT_DIALOG_TITLE = "关于"  # how the About dialog's title starts

# What the pages see and show.
APP_VERSION = "v5.7.2.1807251130"  # window.appVersion
PAGE_BACKGROUND = "EEF2F7"  # the example's start page, below its header
ABOUT_PATH = "/about/index.htm?v3.7.1.1607051743"  # loaded by the about button
ERROR_PAGE = "<h2>Failed to load URL {url} with error {text} ({code}).</h2>"
# How an unresolvable host fails depends on the machine's network: the engine's code and text
# for each way.
NAME_FAILURES = {-105: "net::ERR_NAME_NOT_RESOLVED", -106: "net::ERR_INTERNET_DISCONNECTED",
                 -137: "net::ERR_NAME_RESOLUTION_FAILED", -138: "net::ERR_NETWORK_ACCESS_DENIED"}

# The settings file, under the home folder.
SETTINGS = os.path.join(".config", "Local AppWizard-Generated Applications", f"{APP_TITLE}.conf")

# The frame's commands, which no user input reaches: the look driver sends them.
ID_FILE_OPEN = 0xE101
ID_FILE_SAVE = 0xE103
ID_FILE_SAVE_AS = 0xE104
ID_FILE_PRINT = 0xE107
