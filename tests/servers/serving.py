"""serving.py - a sample BBS under a real web server on loopback, for the
server tests: the site in a temporary directory, the servers, the fetches."""

import argparse
import os
import pwd
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

PROGRAMS = ("tembrix", "quandelo", "5morvane")
BOARD_NAME = "Harbour Lights BBS"
URL_PATH = "/cgi-bin/bbs/"
# The account the servers take on when the tests run as root, as Debian's
# own server packages do; it gets read access to the BBS and nothing more.
WEB_USER = "www-data"
SKIP = 77  # CTest's SKIP_RETURN_CODE for these tests

# The servers live in /usr/sbin, which a normal user's PATH may lack.
os.environ["PATH"] = os.environ.get("PATH", "/usr/bin:/bin") + ":/usr/sbin:/sbin"

REPOSITORY = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CONFIG_TEMPLATES = os.path.join(REPOSITORY, "demo", "conf")
SAMPLE_DESCRIPTION = os.path.join(REPOSITORY, "tools", "sample-bbs.txt")


def arguments(extra=None):
    """The build's programs, as the CTest registration passes them."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--programs", required=True, help="directory of tembrix, quandelo, 5morvane")
    parser.add_argument("--sample-bbs", required=True, help="the sample_bbs tool")
    if extra:
        extra(parser)
    return parser.parse_args()


def require(*commands):
    """Skips the test when a server it needs is not installed."""
    for command in commands:
        if shutil.which(command) is None and not os.path.exists(command):
            print(f"SKIP: {command} is not installed")
            sys.exit(SKIP)


def as_root():
    return os.geteuid() == 0


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def node_count(description=SAMPLE_DESCRIPTION):
    with open(description, encoding="utf-8") as text:
        return sum(1 for line in text if line.split(None, 1)[:1] == ["node"])


class Site:
    """A temporary directory holding the programs with their .cfg files, the
    sample BBS's data and the servers' own files:

        cgi-bin/   tembrix, quandelo, 5morvane and their .cfg
        bbs/       callers.dat, chat<N>.dat, oneliner.dat
        www/       an empty document root
        log/ run/  server logs, sockets, pid files
    """

    def __init__(self, options):
        self.root = tempfile.mkdtemp(prefix="bbs-servers-")
        # The servers' account must reach everything below; mkdtemp gives 700.
        os.chmod(self.root, 0o755)
        self.cgi_dir = self.mkdir("cgi-bin")
        self.data_dir = self.mkdir("bbs")
        self.mkdir("www")
        if as_root():
            # Servers open their logs and sockets after taking on the account.
            account = pwd.getpwnam(WEB_USER)
            for name in ("log", "run"):
                os.chown(self.mkdir(name), account.pw_uid, account.pw_gid)
        else:
            self.mkdir("log")
            self.mkdir("run")
        for program in PROGRAMS:
            shutil.copy2(os.path.join(options.programs, program), self.cgi_dir)
        self.write_configs()
        subprocess.run([options.sample_bbs, "write", SAMPLE_DESCRIPTION, self.data_dir], check=True, timeout=30)

    def mkdir(self, name):
        path = os.path.join(self.root, name)
        os.mkdir(path)
        os.chmod(path, 0o755)
        return path

    def write_configs(self):
        data_path = self.data_dir + "/"
        lines = {
            "tembrix": [BOARD_NAME, data_path],
            "quandelo": [BOARD_NAME, data_path, str(node_count() + 1)],
            "5morvane": [BOARD_NAME, data_path],
        }
        for program, values in lines.items():
            self.write(os.path.join(self.cgi_dir, program + ".cfg"), "".join(v + "\r\n" for v in values))

    @staticmethod
    def write(path, text):
        with open(path, "w", encoding="latin-1", newline="") as file:
            file.write(text)
        os.chmod(path, 0o644)

    def path(self, *parts):
        return os.path.join(self.root, *parts)

    def render(self, template, target, port, extra=None):
        """Fills a configuration template from demo/conf into the site."""
        values = {"RUN_DIR": self.root, "CGI_DIR": self.cgi_dir, "PORT": str(port)}
        values.update(extra or {})
        with open(os.path.join(CONFIG_TEMPLATES, template), encoding="utf-8") as file:
            text = file.read()
        for name, value in values.items():
            text = text.replace(f"@{name}@", value)
        unfilled = re.findall(r"@[A-Z_]+@", text)
        if unfilled:
            raise RuntimeError(f"{template}: unfilled places {unfilled}")
        self.write(self.path(target), text)
        return self.path(target)

    def run_direct(self, program):
        """The program's own response, run as a CGI server runs it."""
        result = subprocess.run([os.path.join(self.cgi_dir, program)], cwd=self.cgi_dir, env={},
                                stdin=subprocess.DEVNULL, capture_output=True, timeout=30)
        assert result.returncode == 0, f"{program} exit code {result.returncode}"
        return result.stdout

    def remove(self):
        shutil.rmtree(self.root, ignore_errors=True)


def page_body(response):
    """What follows the CGI header of a program's response."""
    header, separator, body = response.partition(b"\r\n\r\n")
    assert separator, f"no CGI header end in {response[:80]!r}"
    return body


class Server:
    """One server process (and its helpers), started in its own session so
    that stopping it reaches every process it forked and nothing else."""

    def __init__(self, name, site):
        self.name = name
        self.site = site
        self.processes = []

    def spawn(self, command, log_name, user=None):
        if user is not None and as_root():
            command = ["setpriv", f"--reuid={user}", f"--regid={user}", "--init-groups"] + command
        log = open(self.site.path("log", log_name), "wb")
        process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                                   start_new_session=True, env={"PATH": os.environ["PATH"]})
        log.close()
        self.processes.append(process)
        return process

    def wait_for(self, check, what, tries=100):
        for _ in range(tries):
            for process in self.processes:
                if process.poll() is not None:
                    raise RuntimeError(f"{self.name}: {process.args[0]} ended with {process.returncode}"
                                       f" before {what}; see {self.site.path('log')}\n" + self.logs())
            if check():
                return
            time.sleep(0.1)
        raise RuntimeError(f"{self.name}: no {what} after {tries / 10} s\n" + self.logs())

    def wait_for_port(self, port):
        def listening():
            with socket.socket() as probe:
                probe.settimeout(0.2)
                return probe.connect_ex(("127.0.0.1", port)) == 0
        self.wait_for(listening, f"listener on 127.0.0.1:{port}")

    def logs(self):
        text = []
        log_dir = self.site.path("log")
        for name in sorted(os.listdir(log_dir)):
            with open(os.path.join(log_dir, name), "rb") as file:
                text.append(f"--- {name}\n" + file.read().decode("latin-1")[-3000:])
        return "\n".join(text)

    def stop(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait(timeout=10)
            # Forked helpers (CGI daemons, workers) left in its session.
            try:
                os.killpg(process.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        self.processes = []

    def __enter__(self):
        return self

    def __exit__(self, *exception):
        self.stop()


def start_lighttpd(site):
    server = Server("lighttpd", site)
    port = free_port()
    config = site.render("lighttpd.conf", "lighttpd.conf", port)
    server.spawn(["lighttpd", "-D", "-f", config], "lighttpd.out")
    server.wait_for_port(port)
    server.port = port
    return server


def start_apache(site, variant):
    """variant: "cgid" (event MPM, mod_cgid) or "cgi" (prefork, mod_cgi)."""
    server = Server(f"apache2-{variant}", site)
    port = free_port()
    os.makedirs(site.path("apache2"), exist_ok=True)
    config = site.render(f"apache2-{variant}.conf", f"apache2-{variant}.conf", port)
    server.spawn(["apache2", "-f", config, "-DFOREGROUND"], "apache2.out")
    server.wait_for_port(port)
    server.port = port
    return server


def start_nginx(site):
    server = Server("nginx", site)
    port = free_port()
    socket_path = site.path("run", "fcgiwrap.socket")
    os.makedirs(site.path("nginx"), exist_ok=True)
    config = site.render("nginx.conf", "nginx.conf", port, {"FCGIWRAP_SOCKET": socket_path})
    # fcgiwrap runs the programs as the servers' account, as Debian's
    # fcgiwrap.socket unit does.
    server.spawn(["fcgiwrap", "-c", "2", "-s", "unix:" + socket_path], "fcgiwrap.out", user=WEB_USER)
    server.wait_for(lambda: os.path.exists(socket_path), "fcgiwrap socket")
    server.spawn(["nginx", "-e", site.path("log", "nginx-error.log"), "-p", site.path("nginx"), "-c", config],
                 "nginx.out")
    server.wait_for_port(port)
    server.port = port
    return server


SERVERS = {
    "lighttpd": (("lighttpd",), start_lighttpd),
    "apache2-cgid": (("apache2", "/usr/lib/apache2/modules/mod_cgid.so"), lambda site: start_apache(site, "cgid")),
    "apache2-cgi": (("apache2", "/usr/lib/apache2/modules/mod_cgi.so"), lambda site: start_apache(site, "cgi")),
    "nginx": (("nginx", "fcgiwrap"), start_nginx),
}


class Response:
    def __init__(self, status, headers, body):
        self.status = status
        self.headers = headers  # lower-case names
        self.body = body

    def media_type(self):
        return self.headers.get("content-type", "").split(";")[0].strip().lower()

    def __repr__(self):
        return f"<{self.status} {self.headers.get('content-type')!r} {self.body[:200]!r}>"


def fetch(port, program):
    """GET of one page with curl: status, headers and body as sent."""
    url = f"http://127.0.0.1:{port}{URL_PATH}{program}"
    with tempfile.TemporaryDirectory() as scratch:
        header_file = os.path.join(scratch, "headers")
        body_file = os.path.join(scratch, "body")
        subprocess.run(["curl", "--silent", "--show-error", "--max-time", "20", "--noproxy", "*",
                        "--dump-header", header_file, "--output", body_file, url],
                       check=True, timeout=30)
        with open(header_file, "rb") as file:
            lines = file.read().decode("latin-1").split("\r\n")
        with open(body_file, "rb") as file:
            body = file.read()
    status = int(lines[0].split()[1])
    headers = {}
    for line in lines[1:]:
        name, separator, value = line.partition(":")
        if separator:
            headers[name.strip().lower()] = value.strip()
    return Response(status, headers, body)
