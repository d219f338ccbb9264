// The script of the benchmark's two navigation pages: once the load event has run, the page
// reports the milliseconds from its navigation start to that event to the benchmark's loopback
// server, then navigates to the other page; the last one covers the viewport in the done colour
// for the screen probe.
addEventListener("load", () => {
  const ms = Math.round(performance.now());
  const step = Number(new URLSearchParams(location.search).get("n"));
  const other = location.pathname.endsWith("/%PAGE_A%") ? "%PAGE_B%" : "%PAGE_A%";
  const next = () => {
    if (step < %COUNT%) {
      location.href = `${other}?n=${step + 1}`;
      return;
    }
    const cover = document.createElement("div");
    cover.style.cssText = "position:fixed;inset:0;z-index:2147483647;background:#%DONE%";
    document.documentElement.appendChild(cover);
  };
  fetch(`%REPORT_URL%?n=${step}&ms=${ms}`, {cache: "no-store"}).then(next, next);
});
