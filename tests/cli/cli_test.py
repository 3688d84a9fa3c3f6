#!/usr/bin/python3
"""mosaikon-cli from outside, as a script uses it: exit statuses, files written, JSON read back.

    cli_test.py PATH/TO/mosaikon-cli PATH/TO/tests/data
"""
import hashlib
import json
import os
import shlex
import struct
import subprocess
import sys
import tempfile
import unittest

from PIL import Image

CLI = sys.argv[1] if len(sys.argv) > 1 else "mosaikon-cli"
DATA = sys.argv[2] if len(sys.argv) > 2 else "tests/data"

# Each group of the corpus programs as the icon file it rebuilds to, by length and SHA-256.
# Taken from another tool's extraction of the same groups, cut where its directory says the
# icon ends (that tool appends a few stray bytes).
HH = (69004, "931195e1fef80705f257a190582904bef45f104b037fa90d611e010aff5edc62")
INETCPL = (83029, "c1c8acf5223e0431e0e1c531beb72feeb40572e5c3e8d29d373e3934f2f7abd5")
CORPUS_GROUPS = {
    "pe/pe32/hh.exe": {"hh-101.ico": HH},
    "pe/pe32plus/hh.exe": {"hh-101.ico": HH},
    "pe/pe32/inetcpl.cpl": {"inetcpl-100.ico": INETCPL, "inetcpl-1313.ico": INETCPL},
    "pe/pe32/zlib-x86-ansi": {
        "zlib-x86-ansi-103.ico":
        (766, "657b28d4df458b821466a5d32ab2c5c7f59c7b62c87d9e04579f16be1211886f")},
}


def run(*arguments):
    return subprocess.run([CLI, *arguments], capture_output=True, timeout=60)


def data(relative):
    return os.path.join(DATA, relative)


def icon_file_is_whole(path):
    """The file ends exactly where its directory says its last image ends."""
    with open(path, "rb") as f:
        b = f.read()
    count = struct.unpack_from("<H", b, 4)[0]
    ends = [sum(struct.unpack_from("<II", b, 6 + 16 * i + 8)) for i in range(count)]
    return count > 0 and max(ends) == len(b)


class Extract(unittest.TestCase):
    def test_every_corpus_group_rebuilds_byte_for_byte(self):
        for program, expected in CORPUS_GROUPS.items():
            with self.subTest(program=program), tempfile.TemporaryDirectory() as out:
                result = run("extract", data(program), "--out", out)
                self.assertEqual(result.returncode, 0, result.stderr)
                self.assertEqual(sorted(os.listdir(out)), sorted(expected))
                for name, (length, digest) in expected.items():
                    with open(os.path.join(out, name), "rb") as f:
                        written = f.read()
                    self.assertEqual((len(written), hashlib.sha256(written).hexdigest()),
                                     (length, digest), name)

    def test_names_from_the_file_stay_inside_out_and_a_clash_gets_a_suffix(self):
        with open(data("pe/gen/order_pe32.exe"), "rb") as f:
            program = f.read()
        # The groups ALPHA and ZED renamed, in place, to names that are unsafe and that clash.
        utf16 = lambda text: text.encode("utf-16-le")
        self.assertEqual(program.count(utf16("ALPHA")), 1)
        program = program.replace(utf16("ALPHA"), utf16("Q/ /Q")).replace(utf16("ZED"), utf16("Q:Q"))
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "bad.exe")
            with open(path, "wb") as f:
                f.write(program)
            out = os.path.join(folder, "out")
            os.mkdir(out)
            result = run("extract", path, "--out", out)
            self.assertEqual(result.returncode, 0, result.stderr)
            self.assertEqual(sorted(os.listdir(folder)), ["bad.exe", "out"])
            self.assertEqual(sorted(os.listdir(out)),
                             ["bad-2.ico", "bad-5.ico", "bad-7.ico", "bad-Q_Q-2.ico", "bad-Q_Q.ico"])
            listed = run("extract", path, "--list").stdout.decode().splitlines()
            self.assertEqual([line.split("\t")[1] for line in listed],
                             ["name Q/ /Q", "name Q:Q", "number 2", "number 5", "number 7"])
            chosen = run("extract", path, "--out", out, "--group", "q:q", "--group", "5")
            self.assertEqual(chosen.returncode, 0, chosen.stderr)
            missing = run("extract", path, "--out", out, "--group", "NOPE")
            self.assertEqual(missing.returncode, 1)

    def test_hostile_programs_fail_with_1_or_3_and_leave_no_partial_file(self):
        for name in sorted(os.listdir(data("hostile-pe"))):
            with self.subTest(file=name), tempfile.TemporaryDirectory() as out:
                result = run("extract", data("hostile-pe/" + name), "--out", out)
                self.assertIn(result.returncode, (1, 3), result.stderr)
                self.assertTrue(result.stderr.strip(), "a failure says why")
                for written in os.listdir(out):
                    self.assertFalse(written.startswith("."), written)
                    self.assertTrue(icon_file_is_whole(os.path.join(out, written)), written)
                info = run("info", data("hostile-pe/" + name), "--json")
                self.assertIn(info.returncode, (0, 3), info.stderr)
                if info.returncode == 0:
                    json.loads(info.stdout)


class Info(unittest.TestCase):
    def info(self, relative):
        result = run("info", data(relative), "--json")
        self.assertEqual(result.returncode, 0, result.stderr)
        return json.loads(result.stdout)

    def test_icon_cursor_bitmap_png_and_program_files_are_described(self):
        icon = self.info("pictures/gen/hand/bmp256_plus32.ico")
        self.assertEqual(icon["kind"], "icon")
        self.assertEqual([i["chosen"] for i in icon["images"]],
                         [n == icon["chosen"] for n in range(len(icon["images"]))])
        soft = self.info("pictures/soft/soft_edges.ico")
        self.assertEqual([i["partial_opacity"] for i in soft["images"]], [True])
        classic = self.info("pictures/soft/soft_edges.classic.ico")
        self.assertEqual([i["partial_opacity"] for i in classic["images"]], [False])
        cursor = self.info("pictures/gen/hand/cursor_32bpp.cur")
        self.assertEqual(cursor["kind"], "cursor")
        self.assertIn("hotspot_x", cursor["images"][0])
        bitmap = self.info("pictures/pillow/hopper.bmp")
        self.assertEqual((bitmap["kind"], bitmap["width"], bitmap["height"], bitmap["bits"]),
                         ("bitmap", 128, 128, 24))
        program = self.info("pe/pe32/inetcpl.cpl")
        self.assertEqual((program["kind"], program["format"]), ("program", "PE32"))
        self.assertEqual([g["number"] for g in program["groups"]], [100, 1313])
        self.assertEqual(len(program["groups"][0]["images"]), 10)
        plus = self.info("pe/pe32plus/hh.exe")
        self.assertEqual(plus["format"], "PE32+")
        damaged = self.info("hostile-pe/icon_data_garbage.exe")
        self.assertIn("damage", damaged["groups"][0])


class Convert(unittest.TestCase):
    def test_round_trips_keep_the_icon(self):
        with tempfile.TemporaryDirectory() as out:
            first = os.path.join(out, "first.png")
            again = os.path.join(out, "again.png")
            classic = os.path.join(out, "classic.ico")
            last = os.path.join(out, "last.png")
            for arguments in ((data("pictures/gen/hand/bpp32.ico"), first), (first, again),
                              (first, classic), (classic, last)):
                result = run("convert", *arguments)
                self.assertEqual(result.returncode, 0, result.stderr)
            with Image.open(first) as a, Image.open(again) as b:
                self.assertEqual((a.size, a.mode), ((32, 32), "RGBA"))
                self.assertEqual(list(a.getdata()), list(b.getdata()))
            # A plain .ico is the classic icon: every pixel opaque or clear, pure white clear.
            with Image.open(last) as c:
                self.assertTrue(all(p[3] in (0, 255) for p in c.getdata()))

    def test_soft_edges_are_kept_in_png_and_sizes_and_the_plain_icon_is_classic(self):
        def visible(pixel):  # clear pixels compare by their clearness only
            return pixel if pixel[3] != 0 else (0, 0, 0, 0)

        def as_exported(pixel):  # an opaque pure white pixel is clear
            return (0, 0, 0, 0) if pixel == (255, 255, 255, 255) else visible(pixel)

        source = data("pictures/soft/soft_edges.ico")
        with tempfile.TemporaryDirectory() as out:
            png = os.path.join(out, "soft.png")
            sizes = os.path.join(out, "sizes.ico")
            plain = os.path.join(out, "plain.ico")
            for arguments in ((source, png), (source, sizes, "--sizes", "16,32"), (source, plain)):
                result = run("convert", *arguments)
                self.assertEqual(result.returncode, 0, result.stderr)
            with Image.open(source) as original, Image.open(png) as exported:
                expected = [as_exported(p) for p in original.convert("RGBA").getdata()]
                self.assertEqual([visible(p) for p in exported.getdata()], expected)
                self.assertEqual(sorted({p[3] for p in exported.getdata()} - {0, 255}),
                                 list(range(1, 255)))
            with Image.open(sizes) as icon, Image.open(png) as exported:
                self.assertEqual(sorted(icon.info["sizes"]), [(16, 16), (32, 32)])
                big = icon.ico.getimage((32, 32)).convert("RGBA")
                self.assertEqual([visible(p) for p in big.getdata()],
                                 [visible(p) for p in exported.getdata()])
            with open(plain, "rb") as written, \
                    open(data("pictures/soft/soft_edges.classic.ico"), "rb") as classic:
                self.assertEqual(written.read(), classic.read())

    def test_bitmaps_programs_and_sizes(self):
        with tempfile.TemporaryDirectory() as out:
            sized = os.path.join(out, "sizes.ico")
            result = run("convert", data("pictures/pillow/hopper.bmp"), sized, "--sizes", "48,16")
            self.assertEqual(result.returncode, 0, result.stderr)
            with Image.open(sized) as icon:
                self.assertEqual(sorted(icon.info["sizes"]), [(16, 16), (48, 48)])
            program = os.path.join(out, "program.ico")
            self.assertEqual(run("convert", data("pe/pe32/hh.exe"), program).returncode, 0)
            with Image.open(program) as icon:
                self.assertEqual(icon.size, (32, 32))
            self.assertEqual(run("convert", data("pe/pe32/icmp.dll"), program).returncode, 1)
            self.assertEqual(run("convert", data("hostile-pe/rsrc_loop_to_root.dll"),
                                 program).returncode, 3)


class WhatTheToolSays(unittest.TestCase):
    def test_extract_prints_one_line_of_what_it_wrote(self):
        with tempfile.TemporaryDirectory() as out:
            one = run("extract", data("pe/pe32/hh.exe"), "--out", out)
            self.assertEqual(one.stdout.decode(), "wrote 1 icon file to %s (hh-101.ico)\n" % out)
            two = run("extract", data("pe/pe32/inetcpl.cpl"), "--out", out)
            self.assertEqual(two.stdout.decode(),
                             "wrote 2 icon files to %s (inetcpl-100.ico ... inetcpl-1313.ico)\n" % out)

    def test_list_shows_only_the_groups_asked_for(self):
        program = data("pe/gen/order_pe32.exe")
        listed = run("extract", program, "--list", "--group", "5", "--group", "zed")
        self.assertEqual(listed.returncode, 0, listed.stderr)
        self.assertEqual([line.split("\t")[:2] for line in listed.stdout.decode().splitlines()],
                         [["1", "name ZED"], ["3", "number 5"]])
        none = run("extract", program, "--list", "--group", "NOPE")
        self.assertEqual((none.returncode, none.stdout), (1, b""))
        self.assertIn(b"none of the icon groups asked for", none.stderr)

    def test_an_empty_file_gets_the_editors_words(self):
        with tempfile.TemporaryDirectory() as folder:
            for name in ("empty.exe", "empty.ico", "empty"):
                path = os.path.join(folder, name)
                open(path, "wb").close()
                for arguments in (("info", path), ("extract", path), ("convert", path, path + ".png")):
                    with self.subTest(arguments=arguments):
                        result = run(*arguments)
                        self.assertEqual(result.returncode, 3)
                        # The editor's message box shows the same sentence (OpeningFiles tests).
                        self.assertEqual(result.stderr.decode(),
                                         'mosaikon-cli: The file "%s" is empty.\n' % path)
            self.assertEqual(sorted(os.listdir(folder)), ["empty", "empty.exe", "empty.ico"])

    def test_info_on_a_program_names_the_image_extract_icon_takes(self):
        with tempfile.TemporaryDirectory() as out:
            # The second group (Extract Icon asks for index 1), and in it the image a 32 x 32
            # request gets: the one the group's icon file chooses.
            program = json.loads(run("info", data("pe/pe32/inetcpl.cpl"), "--json").stdout)
            self.assertEqual(program["editor_group"], 1)
            run("extract", data("pe/pe32/inetcpl.cpl"), "--out", out, "--group", "1313")
            icon = json.loads(run("info", os.path.join(out, "inetcpl-1313.ico"), "--json").stdout)
            self.assertEqual(program["editor_image"], icon["chosen"])
            # One group only: an index past the last takes the first.
            single = json.loads(run("info", data("pe/pe32/hh.exe"), "--json").stdout)
            run("extract", data("pe/pe32/hh.exe"), "--out", out)
            icon = json.loads(run("info", os.path.join(out, "hh-101.ico"), "--json").stdout)
            self.assertEqual((single["editor_group"], single["editor_image"]), (0, icon["chosen"]))
        none = run("info", data("pe/pe32/icmp.dll"))
        self.assertIn(b"editor_takes: the generic program icon: holds no icons.", none.stdout)


THUMBNAILER = os.path.join(DATA, "..", "..", "packaging", "org.example.mosaikon.thumbnailer")


def thumbnailer_entry():
    entry = {}
    with open(THUMBNAILER, encoding="utf-8") as f:
        lines = f.read().splitlines()
    assert lines[0] == "[Thumbnailer Entry]", lines[0]
    for line in lines[1:]:
        key, _, value = line.partition("=")
        entry[key] = value
    return entry


class Thumbnailer(unittest.TestCase):
    def run_as_file_manager(self, source, size, folder):
        """Runs the Exec line as a file manager does: %i the file, %o the output, %s the size,
        with mosaikon-cli found on the PATH as an installed one is."""
        out = os.path.join(folder, "thumbnail output.png")
        substitutions = {"%i": source, "%o": out, "%s": str(size)}
        command = [substitutions.get(word, word) for word in shlex.split(thumbnailer_entry()["Exec"])]
        environment = dict(os.environ, PATH=os.path.dirname(os.path.abspath(CLI)) + ":/usr/bin:/bin")
        result = subprocess.run(command, capture_output=True, timeout=60, env=environment)
        return result, out

    def test_the_entry_names_the_tool_and_the_types(self):
        entry = thumbnailer_entry()
        self.assertEqual(entry["TryExec"], "mosaikon-cli")
        self.assertEqual(shlex.split(entry["Exec"]), ["mosaikon-cli", "thumbnail", "%i", "%o", "%s"])
        types = entry["MimeType"].rstrip(";").split(";")
        for wanted in ("image/vnd.microsoft.icon", "image/x-icon", "image/x-win-bitmap",
                       "application/x-ms-dos-executable"):
            self.assertIn(wanted, types)
        # Every Windows program type the system's MIME database knows.
        known = "/usr/share/mime/types"
        if os.path.exists(known):
            with open(known) as f:
                programs = [t for t in f.read().split() if "ms-dos" in t or "msdownload" in t
                            or "portable-executable" in t or "ms-ne" in t]
            self.assertTrue(programs)
            for wanted in programs:
                self.assertIn(wanted, types)

    def test_its_command_line_writes_the_picture_and_nothing_else(self):
        cases = (("pictures/gen/hand/multi_unsorted.ico", 256, (256, 256)),
                 ("pictures/gen/hand/multi_unsorted.ico", 200, (200, 200)),
                 ("pictures/gen/hand/bpp32_alpha_vs_and.ico", 16, (16, 16)),
                 ("pictures/pillow/deerstalker.cur", 128, None),
                 ("pe/pe32/hh.exe", 48, (48, 48)),
                 ("pe/pe32/inetcpl.cpl", 32, (32, 32)))
        for relative, size, expected in cases:
            with self.subTest(file=relative, size=size), tempfile.TemporaryDirectory() as folder:
                source = data(relative)
                before = os.stat(source)
                result, out = self.run_as_file_manager(source, size, folder)
                self.assertEqual(result.returncode, 0, result.stderr)
                self.assertEqual(os.listdir(folder), [os.path.basename(out)])
                self.assertEqual(os.stat(source).st_mtime_ns, before.st_mtime_ns)
                with Image.open(out) as picture:
                    self.assertEqual(picture.mode, "RGBA")
                    self.assertLessEqual(max(picture.size), size)
                    if expected:
                        self.assertEqual(picture.size, expected)
                    alphas = picture.getchannel("A").getextrema()
                # The icons and the program's own icon have clear parts, kept as clear.
                self.assertEqual(alphas[0], 0)

    def test_a_file_that_gives_no_thumbnail_fails_and_writes_nothing(self):
        for relative in ("pictures/pillow/hopper.bmp", "pe/pe32/icmp.dll",
                         "hostile-pe/rsrc_loop_to_root.dll", "pictures/hostile/ico/count_zero.ico"):
            with self.subTest(file=relative), tempfile.TemporaryDirectory() as folder:
                result, _ = self.run_as_file_manager(data(relative), 128, folder)
                self.assertEqual(result.returncode, 3, result.stderr)
                self.assertTrue(result.stderr)
                self.assertEqual(os.listdir(folder), [])
        for size in ("0", "1025", "12x", ""):
            with self.subTest(size=size):
                self.assertEqual(run("thumbnail", data("pe/pe32/hh.exe"), "/nonexistent/x.png",
                                     size).returncode, 2)


class Usage(unittest.TestCase):
    def test_usage_errors_exit_2_and_help_exits_0(self):
        for arguments in ((), ("paint",), ("extract",), ("info",), ("info", "a", "b"),
                          ("convert", "a.ico"), ("convert", "a.ico", "b.gif"),
                          ("convert", "a.ico", "b.ico", "--sizes", "17"),
                          ("convert", "a.ico", "b.png", "--sizes", "16"), ("extract", "x", "--bogus")):
            with self.subTest(arguments=arguments):
                result = run(*arguments)
                self.assertEqual(result.returncode, 2, result.stderr)
                self.assertTrue(result.stderr)
        for arguments in (("--help",), ("extract", "--help"), ("info", "--help"),
                          ("convert", "--help"), ("thumbnail", "--help")):
            with self.subTest(arguments=arguments):
                result = run(*arguments)
                self.assertEqual(result.returncode, 0)
                self.assertTrue(result.stdout.startswith(b"Usage: mosaikon-cli"))
        self.assertEqual(run("info", "/no/such/file").returncode, 3)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=1)
