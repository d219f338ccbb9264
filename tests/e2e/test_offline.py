"""Start-up without network: the shell shows Error.html.

Run inside a network namespace of its own with only loopback up, for the DevTools client:
    unshare -n sh -c 'ip link set lo up && exec python3 test_offline.py'
"""

import unittest

import harness
from facts import MAIN_TITLE

ERROR_PAGE_PIXEL, ERROR_PAGE_COLOUR = (40, harness.SCREEN_HEIGHT - 40), "2B2D42"


def network_interfaces():
    """Interfaces of this process's network namespace (/sys would show the host's)."""
    with open("/proc/self/net/dev") as devices:
        return sorted(line.split(":")[0].strip() for line in devices.readlines()[2:])


class OfflineStartTest(harness.ShellTestCase):

    def setUp(self):
        if network_interfaces() != ["lo"]:
            self.fail(f"needs a network namespace with loopback only, has {network_interfaces()}")
        super().setUp()

    def test_error_page_when_no_network(self):
        self.start_shell()
        page = self.open_page("/Error.html")
        self.assertEqual(page.evaluate("document.title"), "Vintrel example - offline")
        self.assertTrue(page.evaluate("document.getElementById('offline') !== null"))
        harness.wait_window(MAIN_TITLE)
        x, y = ERROR_PAGE_PIXEL
        harness.wait_for(f"#{ERROR_PAGE_COLOUR} at {x},{y}",
                         lambda: harness.screen_pixel(x, y, self.root) == ERROR_PAGE_COLOUR)
        self.assertIsNone(self.devtools.page_with_url("/request.html"))


if __name__ == "__main__":
    unittest.main()
