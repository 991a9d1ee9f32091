"""Ostrel Corvane in the Nautilus file manager (Nautilus 43 and later, nautilus-python 4).

The context menu of local files gains "Verify checksums" when every selected file is a checksum
list, and "Compute checksums" for any selection of files and folders. Both start the dialog with
the selected paths, as "corvane FILE..." does from a terminal: a list opens the check window,
several files or a folder the hashing window.
"""
import os
import subprocess

import gi

gi.require_version("Nautilus", "4.0")
from gi.repository import GObject, Nautilus  # noqa: E402

PROGRAM = "corvane"
# The MIME type the package's shared-mime-info file gives checksum lists.
SUM_LIST_TYPE = "text/x-checksum-list"

TEXTS = {
    "de": {
        "Verify checksums": "Prüfsummen prüfen",
        "Check every file this list names": "Jede Datei dieser Liste prüfen",
        "Compute checksums": "Prüfsummen berechnen",
        "Hash the selected files with Ostrel Corvane": "Die gewählten Dateien mit Ostrel Corvane hashen",
    },
    "ru": {
        "Verify checksums": "Проверить контрольные суммы",
        "Check every file this list names": "Проверить все файлы из этого списка",
        "Compute checksums": "Вычислить контрольные суммы",
        "Hash the selected files with Ostrel Corvane": "Вычислить хеши выбранных файлов в Ostrel Corvane",
    },
}


def _language():
    # As gettext looks: LANGUAGE first (a list), then LC_ALL, LC_MESSAGES, LANG.
    for variable in ("LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"):
        value = os.environ.get(variable, "")
        if value:
            return value.split(":")[0].split("_")[0].split(".")[0]
    return "en"


def _(text):
    return TEXTS.get(_language(), {}).get(text, text)


def _local_paths(files):
    """The selected files' paths, or None when one is not a local file: corvane opens paths."""
    paths = []
    for info in files:
        location = info.get_location()
        path = location.get_path() if location is not None else None
        if not path:
            return None
        paths.append(path)
    return paths


def _start(paths):
    # Its own session: closing Nautilus leaves a running check alone.
    subprocess.Popen([PROGRAM, *paths], start_new_session=True,
                     stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                     stderr=subprocess.DEVNULL)


class CorvaneMenuProvider(GObject.GObject, Nautilus.MenuProvider):
    def get_file_items(self, files):
        paths = _local_paths(files)
        if not paths:
            return []
        items = []
        if all(info.is_mime_type(SUM_LIST_TYPE) for info in files):
            verify = Nautilus.MenuItem(name="OstrelCorvane::verify", label=_("Verify checksums"),
                                       tip=_("Check every file this list names"),
                                       icon="ostrel-corvane")
            verify.connect("activate", lambda _item: _start(paths))
            items.append(verify)
        compute = Nautilus.MenuItem(name="OstrelCorvane::compute", label=_("Compute checksums"),
                                    tip=_("Hash the selected files with Ostrel Corvane"),
                                    icon="ostrel-corvane")
        compute.connect("activate", lambda _item: _start(paths))
        items.append(compute)
        return items
