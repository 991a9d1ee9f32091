"""The Nautilus extension loaded as Nautilus loads it, against the Nautilus 4.0 introspection data:
its provider offers "Verify checksums" only when every selected file is a checksum list and
"Compute checksums" for local files, none for remote ones, and each entry starts corvane with the
selected paths. Skipped (exit 77) without python3-gi and gir1.2-nautilus-4.0.
Usage: check_nautilus.py EXTENSION.py"""
import importlib.util
import sys

try:
    import gi

    gi.require_version("Nautilus", "4.0")
    from gi.repository import Gio, Nautilus
except (ImportError, ValueError) as missing:
    print(f"SKIPPED: {missing} (scripts/deps.sh packaging installs python3-nautilus)")
    sys.exit(77)

spec = importlib.util.spec_from_file_location("corvane_extension", sys.argv[1])
extension = importlib.util.module_from_spec(spec)
spec.loader.exec_module(extension)
providers = [value for value in vars(extension).values()
             if isinstance(value, type) and issubclass(value, Nautilus.MenuProvider)]
assert len(providers) == 1, providers
provider = providers[0]()


class Selected:
    """A file as Nautilus hands it over, through the calls the extension makes."""

    def __init__(self, uri, mime):
        self.location, self.mime = Gio.File.new_for_uri(uri), mime

    def get_location(self):
        return self.location

    def is_mime_type(self, mime):
        return mime == self.mime


started = []
extension.subprocess.Popen = lambda argv, **_: started.append(argv)
extension._language = lambda: "en"
LIST, ISO = "text/x-checksum-list", "application/x-cd-image"
cases = [
    ([("file:///srv/r/SHA256SUMS", LIST)], ["Verify checksums", "Compute checksums"]),
    ([("file:///srv/r/a.iso", ISO), ("file:///srv/r/b%20c.iso", ISO)], ["Compute checksums"]),
    ([("file:///srv/r/MD5SUMS", LIST), ("file:///srv/r/a.iso", ISO)], ["Compute checksums"]),
    ([("sftp://host/r/SHA256SUMS", LIST)], []),
]
failures = 0
for files, labels in cases:
    selection = [Selected(uri, mime) for uri, mime in files]
    items = provider.get_file_items(selection)
    got = [item.props.label for item in items]
    if got != labels:
        print(f"FAIL: {[uri for uri, _ in files]} offers {got}, not {labels}")
        failures += 1
    for item in items:
        started.clear()
        item.activate()
        want = [["corvane", *[f.location.get_path() for f in selection]]]
        if started != want:
            print(f"FAIL: {item.props.label} started {started}, not {want}")
            failures += 1
extension._language = lambda: "de"
if [i.props.label for i in provider.get_file_items([Selected(*cases[0][0][0])])] != [
        "Prüfsummen prüfen", "Prüfsummen berechnen"]:
    print("FAIL: the German labels")
    failures += 1
sys.exit(1 if failures else 0)
