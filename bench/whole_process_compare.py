#!/usr/bin/env python3
"""Whole-process comparison: `tarnwick-host check` against newsboat and curl, as a user runs them.

Each scenario sets up its data, then runs the programs one after another in interleaved trials
(A B C, A B C, ...), so a change in the machine's load falls on all of them alike, and prints the
median wall time and the median peak memory (the child's maximum resident set) of each, with its
ratio to the first program's. A peer that is not installed is skipped and said so.

The feed documents come from a small HTTP/1.1 server started apart (keep-alive, ETag and
Last-Modified, 304 to a matching If-None-Match when the scenario honours validators).

Usage: bench/whole_process_compare.py [--build DIR] [--trials N] [--feeds N] [--items N]
                                      [--scenario NAME ...]
Scenarios:
  first      N feeds of M items into empty newsboxes (fresh data each trial), against newsboat's
             `-x reload` into a new cache
  unchanged  the same feeds again, every answer 304, against one curl process with validators
  nothing    the same feeds again, every answer 200 with the same items, against one curl process
  newsbox    one feed's nothing-new check into a newsbox of 100,000 messages against the same with
             an empty newsbox, with the document changed (items reordered) and unchanged

For how a run grows with the feed list, run the scenarios with --feeds 100 and --feeds 1000.
"""
import argparse
import http.server
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


# ---------------------------------------------------------------- the feeds' server

class FeedHandler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    disable_nagle_algorithm = True  # headers and body go out as soon as written
    documents = {}  # path -> bytes
    honour_validators = True

    def do_GET(self):
        body = FeedHandler.documents.get(self.path)
        if body is None:
            self.send_response(404)
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        tag = '"%x-%d"' % (zlib.crc32(body), len(body))
        if FeedHandler.honour_validators and self.headers.get("If-None-Match") == tag:
            self.send_response(304)
            self.send_header("ETag", tag)
            self.end_headers()
            return
        self.send_response(200)
        self.send_header("Content-Type", "application/rss+xml")
        self.send_header("ETag", tag)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, format, *args):
        pass


def serve(folder):
    """Serves every file of `folder` under /<name>; reads commands from standard input:
    `honour 0|1`, `reload`. Prints the port once it listens."""
    def load():
        documents = {}
        for name in os.listdir(folder):
            with open(os.path.join(folder, name), "rb") as f:
                documents["/" + name] = f.read()
        FeedHandler.documents = documents

    load()
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), FeedHandler)
    server.daemon_threads = True
    threading.Thread(target=server.serve_forever, daemon=True).start()
    print(server.server_address[1], flush=True)
    for line in sys.stdin:
        words = line.split()
        if words[:1] == ["honour"]:
            FeedHandler.honour_validators = words[1] == "1"
        elif words[:1] == ["reload"]:
            load()
        print("ok", flush=True)


class FeedServer:
    def __init__(self, folder):
        self.process = subprocess.Popen([sys.executable, __file__, "--serve", folder], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, text=True)
        self.port = int(self.process.stdout.readline())

    def command(self, text):
        self.process.stdin.write(text + "\n")
        self.process.stdin.flush()
        self.process.stdout.readline()

    def url(self, name):
        return "http://127.0.0.1:%d/%s" % (self.port, name)

    def close(self):
        self.process.stdin.close()
        self.process.wait()


# ---------------------------------------------------------------- data

def feed_document(feed, items, reverse=False):
    parts = ['<?xml version="1.0"?><rss version="2.0"><channel><title>Feed %d</title>' % feed]
    order = range(items - 1, -1, -1) if reverse else range(items)
    for i in order:
        item_id = "%d-%d" % (feed, i)
        parts.append(
            "<item><title>Item %s</title><link>http://example.org/%s</link><guid>%s</guid>"
            "<pubDate>Tue, 10 Jun 2003 04:%02d:00 GMT</pubDate><description><![CDATA[<p>Body of item %s with "
            "<b>markup</b> and a few words to make it a realistic size for a feed item.</p>]]></description></item>"
            % (item_id, item_id, item_id, 10 + i % 50, item_id))
    parts.append("</channel></rss>")
    return "".join(parts).encode()


def write_documents(folder, feeds, items, reverse=False):
    os.makedirs(folder, exist_ok=True)
    for feed in range(feeds):
        with open(os.path.join(folder, "feed%d.xml" % feed), "wb") as f:
            f.write(feed_document(feed, items, reverse))


def earlier_messages(count):
    chunks = []
    for i in range(count):
        chunks.append(
            "From ???@??? Mon Dec 7 07:03:15 2026\r\nSubject: Earlier article %d\r\nFrom: Feed\r\n"
            "Date: 12/07/2026 07:03:15\r\nMessage-Id: <earlier-%d@tarnwick.invalid>\r\nMIME-Version: 1.0\r\n"
            "Content-Type: text/html\r\n\r\n<x-html><p>An article delivered long ago, with a body of a realistic "
            "size for a feed item.</p></x-html>\r\n" % (i, i))
    return "".join(chunks).encode()


def make_data_folder(path, build, server, feeds, newsbox_messages=0):
    """A host data folder with Tarnwick's module and `feeds` feeds, each with a newsbox of its own."""
    plugins = os.path.join(path, "plugins")
    os.makedirs(plugins)
    shutil.copy(os.path.join(build, "src", "plugin", "libtarnwick.so"), plugins)
    aliases = ["[Aliases]"]
    sections = []
    for feed in range(feeds):
        alias = "feed%d" % feed
        box = os.path.join(path, "Box%d.mbx" % feed)
        with open(box, "wb") as f:
            f.write(earlier_messages(newsbox_messages))
        aliases.append("%s=%s" % (alias, alias))
        sections.append("[%s]\nName=%s\nURL=%s\nNewsbox=Box%d\nNewsboxPath=%s\nDownloadReferringArticles=0\n"
                        "DownloadOnlyNewArticles=1\nLastArticle=\nAutoCheck=0\nIntervalMinutes=0\n"
                        % (alias, alias, server.url(alias + ".xml"), feed, box))
    with open(os.path.join(plugins, "tarnwick.ini"), "w") as f:
        f.write("\n".join(aliases) + "\n\n" + "\n".join(sections))


def curl_config(path, server, feeds, with_validators):
    lines = []
    for feed in range(feeds):
        name = "feed%d.xml" % feed
        if lines:
            lines.append("next")
        lines.append('url = "%s"' % server.url(name))
        lines.append('output = "/dev/null"')
        if with_validators:
            lines.append('header = "If-None-Match: \\"%s\\""' % server_tag(server, name))
    with open(path, "w") as f:
        f.write("\n".join(lines) + "\n")


def server_tag(server, name):
    # The tag the server sends for a document: asked of the server itself, as a client would.
    out = subprocess.run(["curl", "-s", "-D", "-", "-o", "/dev/null", server.url(name)], capture_output=True,
                         text=True).stdout
    for line in out.splitlines():
        if line.lower().startswith("etag:"):
            return line.split(":", 1)[1].strip().strip('"')
    return ""


# ---------------------------------------------------------------- running

def installed(program):
    return shutil.which(program) is not None


def run_once(command, prepare=None):
    """Runs `command` (a list) once; its wall time in seconds and peak memory in MB. The peak is
    read by GNU time, whose child starts from its small image: a child of this script would carry
    the script's own peak in its count."""
    if prepare:
        prepare()
    report = os.path.join(tempfile.gettempdir(), "tarnwick-compare-%d.time" % os.getpid())
    start = time.perf_counter()
    status = subprocess.call(["/usr/bin/time", "-f", "%M", "-o", report] + command, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
    elapsed = time.perf_counter() - start
    if status not in (0, 1):
        raise RuntimeError("%s ended with %d" % (" ".join(command), status))
    with open(report) as f:
        peak_kilobytes = int(f.read().split()[-1])
    return elapsed, peak_kilobytes / 1024.0


def compare(title, contenders, trials):
    """contenders: (name, command, prepare) in order; the first is the reference."""
    contenders = [c for c in contenders if c is not None]
    times = {name: [] for name, _, _ in contenders}
    memory = {name: [] for name, _, _ in contenders}
    for _ in range(trials):
        for name, command, prepare in contenders:
            elapsed, peak = run_once(command, prepare)
            times[name].append(elapsed)
            memory[name].append(peak)
    print("\n" + title)
    reference = contenders[0][0]
    base_time = statistics.median(times[reference])
    base_memory = statistics.median(memory[reference])
    for name, _, _ in contenders:
        median_time = statistics.median(times[name])
        median_memory = statistics.median(memory[name])
        print("  %-44s %8.3f s  (%5.2fx)  %7.1f MB  (%5.2fx)" % (
            name, median_time, median_time / base_time, median_memory, median_memory / base_memory))
    sys.stdout.flush()


def host_check(build, data):
    return [os.path.join(build, "host", "tarnwick-host"), "--data-folder", data, "check", "--quiet"]


def skipped(program):
    print("  (%s is not installed: left out)" % program)


# ---------------------------------------------------------------- scenarios

class Bench:
    def __init__(self, build, trials, feeds, items):
        self.build, self.trials, self.feeds, self.items = build, trials, feeds, items
        self.work = tempfile.mkdtemp(prefix="tarnwick-compare-")
        self.documents = os.path.join(self.work, "documents")
        write_documents(self.documents, feeds, items)
        self.server = FeedServer(self.documents)

    def close(self):
        self.server.close()
        shutil.rmtree(self.work, ignore_errors=True)

    def fresh(self, name, feeds, newsbox_messages=0):
        path = os.path.join(self.work, name)
        shutil.rmtree(path, ignore_errors=True)
        make_data_folder(path, self.build, self.server, feeds, newsbox_messages)
        return path

    def checked(self, name, feeds, newsbox_messages=0):
        """A data folder whose feeds were checked once already."""
        path = self.fresh(name, feeds, newsbox_messages)
        self.server.command("honour 1")
        run_once(host_check(self.build, path))
        return path

    def newsboat(self, feeds, name):
        if not installed("newsboat"):
            skipped("newsboat")
            return None
        folder = os.path.join(self.work, name)
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "urls"), "w") as f:
            f.write("".join(self.server.url("feed%d.xml" % i) + "\n" for i in range(feeds)))
        open(os.path.join(folder, "config"), "w").close()
        cache = os.path.join(folder, "cache.db")

        def prepare():
            if os.path.exists(cache):
                os.remove(cache)

        return ("newsboat -x reload (new cache)",
                ["newsboat", "-q", "-x", "reload", "-u", os.path.join(folder, "urls"), "-c", cache, "-C",
                 os.path.join(folder, "config")], prepare)

    def curl(self, feeds, with_validators, name):
        if not installed("curl"):
            skipped("curl")
            return None
        config = os.path.join(self.work, name + ".curl")
        curl_config(config, self.server, feeds, with_validators)
        label = "curl, one process%s" % (", with validators" if with_validators else "")
        return (label, ["curl", "-s", "-K", config], None)

    def first(self, feeds):
        self.server.command("honour 1")
        data = os.path.join(self.work, "first")
        fresh = lambda: self.fresh("first", feeds)
        compare("First run, %d feeds x %d items" % (feeds, self.items),
                [("tarnwick-host check", host_check(self.build, data), fresh), self.newsboat(feeds, "newsboat")],
                self.trials)

    def unchanged(self, feeds):
        data = self.checked("unchanged", feeds)
        self.server.command("honour 1")
        compare("Every feed answered 304, %d feeds" % feeds,
                [("tarnwick-host check", host_check(self.build, data), None),
                 self.curl(feeds, True, "unchanged")], self.trials)

    def nothing_new(self, feeds):
        data = self.checked("nothing", feeds)
        self.server.command("honour 0")
        compare("Nothing new (every answer 200, same items), %d feeds" % feeds,
                [("tarnwick-host check", host_check(self.build, data), None),
                 self.curl(feeds, False, "nothing")], self.trials)
        self.server.command("honour 1")

    def newsbox(self):
        empty = self.checked("newsbox-empty", 1, 0)
        full = self.checked("newsbox-full", 1, 100000)
        host = os.path.join(self.build, "host", "tarnwick-host")
        for changed in (False, True):
            self.server.command("honour %d" % (0 if changed else 1))
            if changed:
                write_documents(self.documents, 1, self.items, reverse=True)
                self.server.command("reload")
            compare("One feed, nothing new, document %s" % ("changed (200)" if changed else "unchanged (304)"),
                    [("tarnwick-host check, empty newsbox", host_check(self.build, empty), None),
                     ("tarnwick-host check, newsbox of 100,000", host_check(self.build, full), None)], self.trials)
        write_documents(self.documents, 1, self.items)
        self.server.command("reload")
        self.server.command("honour 1")
        compare("The host alone (mailboxes verb)",
                [("tarnwick-host mailboxes, empty newsbox", [host, "--data-folder", empty, "mailboxes"], None),
                 ("tarnwick-host mailboxes, newsbox of 100,000", [host, "--data-folder", full, "mailboxes"], None)],
                self.trials)


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "--serve":
        serve(sys.argv[2])
        return
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default=os.path.join(ROOT, "build"))
    parser.add_argument("--trials", type=int, default=7)
    parser.add_argument("--feeds", type=int, default=100)
    parser.add_argument("--items", type=int, default=50)
    parser.add_argument("--scenario", nargs="*", default=["first", "unchanged", "nothing", "newsbox"])
    arguments = parser.parse_args()
    bench = Bench(os.path.abspath(arguments.build), arguments.trials, arguments.feeds, arguments.items)
    try:
        for scenario in arguments.scenario:
            {"first": lambda: bench.first(bench.feeds), "unchanged": lambda: bench.unchanged(bench.feeds),
             "nothing": lambda: bench.nothing_new(bench.feeds), "newsbox": bench.newsbox}[scenario]()
    finally:
        bench.close()


if __name__ == "__main__":
    main()
