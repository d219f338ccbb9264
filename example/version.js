// Shows the shell's version, which the shell puts on every page as window.appVersion.
function showShellVersion(element) {
  if (typeof window.appVersion === "string") {
    element.textContent = "Vintrel " + window.appVersion;
  } else {
    element.textContent = "Running outside the Vintrel shell";
    element.classList.add("outside");
  }
}
