"""Repeated user-level actions on a running shell, shared by the stress tests and the stress
bench: popups a page opens and closes, resize steps of the main window, pointer moves over the
caption and navigations to addresses that fail. Every loop is bounded by its count and every
wait by a deadline; only loopback addresses are used."""

import json

import harness
from facts import BORDER_WIDTH, CAPTION_HEIGHT, ERROR_PAGE, MIN_HEIGHT, MIN_WIDTH

XDOTOOL_BATCH = 100  # actions chained into one xdotool run
CONNECTION_REFUSED = ("net::ERR_CONNECTION_REFUSED", -102)
FILE_NOT_FOUND = ("net::ERR_FILE_NOT_FOUND", -6)

# Opens one popup on the example's popup page, waits for its document, closes it from the page
# and waits until it reads as closed; resolves to the popup's title, or null when none opened.
OPEN_AND_CLOSE_POPUP = """(async (name) => {
  const until = async (condition) => {
    for (const end = Date.now() + 10000; !condition(); ) {
      if (Date.now() > end) throw new Error('timed out: ' + condition);
      await new Promise((resolve) => setTimeout(resolve, 10));
    }
  };
  const popup = window.open('popup.html', name, 'width=560,height=420');
  if (!popup) return null;
  await until(() => popup.location.href.endsWith('/popup.html') &&
                    popup.document.readyState === 'complete');
  const title = popup.document.title;
  popup.close();
  await until(() => popup.closed);
  return title;
})(%s)"""


def open_and_close_popups(page, count):
    """Has the page open and close count popups, one after the other; returns their titles."""
    return [page.evaluate(OPEN_AND_CLOSE_POPUP % json.dumps(f"stress-popup-{i}"),
                          userGesture=True) for i in range(count)]


def page_targets(devtools):
    return sorted(target.get("url", "") for target in devtools.pages())


def restore(window):
    harness.run_tool("wmctrl", "-i", "-r", hex(window), "-b",
                     "remove,maximized_vert,maximized_horz")
    harness.wait_for("the window to be restored",
                     lambda: "_NET_WM_STATE_MAXIMIZED_HORZ" not in harness.window_states(window))


def resize_sizes(count):
    """count window sizes at or above the minimum size, each different from the one before."""
    span_w, span_h = 1600 - MIN_WIDTH, 1000 - MIN_HEIGHT
    return [(MIN_WIDTH + (i * 37) % span_w, MIN_HEIGHT + (i * 23) % span_h)
            for i in range(1, count + 1)]


def resize_steps(window, count, after_batch=None, batch_size=XDOTOOL_BATCH):
    """Resizes a restored window count times in batches; after each batch waits until the
    window has the batch's last size and calls after_batch(size) if given."""
    sizes = resize_sizes(count)
    for start in range(0, count, batch_size):
        batch = sizes[start:start + batch_size]
        actions = []
        for width, height in batch:
            actions += ["windowsize", str(window), str(width), str(height), "sleep", "0.005"]
        harness.run_tool("xdotool", *actions)
        last = batch[-1]
        harness.wait_for(f"the window at {last[0]}x{last[1]}",
                         lambda: harness.window_geometry(window)[2:] == last)
        if after_batch:
            after_batch(last)


def caption_points(count, screen_width=harness.SCREEN_WIDTH):
    """count pointer positions spread over the caption band of a maximised window, buttons
    included."""
    return [(BORDER_WIDTH + (i * 13) % (screen_width - 2 * BORDER_WIDTH),
             2 + (i * 7) % (CAPTION_HEIGHT - 4))
            for i in range(count)]


def caption_pointer_moves(count):
    points = caption_points(count)
    for start in range(0, count, XDOTOOL_BATCH):
        actions = []
        for x, y in points[start:start + XDOTOOL_BATCH]:
            actions += ["mousemove", str(x), str(y)]
        harness.run_tool("xdotool", *actions)


def failing_addresses(count, closed_port, missing_dir):
    """(url, error text, code): alternately a loopback port nothing listens on and a file that
    does not exist."""
    cases = []
    for i in range(count):
        if i % 2:
            cases.append((f"file://{missing_dir}/missing-{i}.html", *FILE_NOT_FOUND))
        else:
            cases.append((f"http://127.0.0.1:{closed_port}/fail-{i}", *CONNECTION_REFUSED))
    return cases


def navigate_to_error_page(page, url, text, code):
    """Navigates the page as the address bar would and waits for the one-line error page."""
    page.call("Page.navigate", url=url)
    expected = ERROR_PAGE.format(url=url, text=text, code=code)
    # The page names the address: no earlier error page reads the same.
    harness.wait_for(f"the error page for {url}",
                     lambda: page.evaluate("document.body && document.body.innerHTML") == expected)


def failing_navigations(page, count, closed_port, missing_dir):
    for url, text, code in failing_addresses(count, closed_port, missing_dir):
        navigate_to_error_page(page, url, text, code)
