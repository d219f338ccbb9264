// Injected into the benchmark's copy of the start page: once the load event has run, the top
// three quarters of the viewport turn to the marker colour and the bottom quarter carries the
// milliseconds from navigation start to the load event as a 24-bit colour, for the screen probe.
// Once the probe has read the memory 3 s after load, the page goes on to the later navigations.
addEventListener("load", () => {
  const ms = Math.min(Math.round(performance.now()), 0xffffff);
  const cover = (top, height, colour) => {
    const block = document.createElement("div");
    block.style.cssText = `position:fixed;left:0;right:0;top:${top};height:${height};` +
        `z-index:2147483647;background:${colour}`;
    document.documentElement.appendChild(block);
  };
  cover("0", "75vh", "#%MARKER%");
  cover("75vh", "25vh", `rgb(${(ms >> 16) & 255},${(ms >> 8) & 255},${ms & 255})`);
  setTimeout(() => { location.href = "%FIRST_PAGE%?n=1"; }, %NAVIGATE_AFTER_MS%);
});
