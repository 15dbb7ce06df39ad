"""Armocalc from Python: the 23 methods of ClassBrige through one ``armocalc call`` process.

    import armocalc

    with armocalc.Armocalc() as ac:
        margin = ac.мтПрочностьB(КлассАрматурнойСтали=3, КлассБетона=30, N=1.2, M=0.35,
                                 Fв=10.05, Fн=10.05, ав=0.05, ан=0.05, h=0.5)
        print(margin.value)                      # the same call: ac.mtProchnostB(..., Fv=10.05)
        for r in ac.map("мтБетонB", [{"КлассБетона": c} for c in (20, 25, 30)]):
            print(r.value)

The binary is ``cli``, else ``$ARMOCALC_CLI``, else ``armocalc`` on ``PATH``. Standard library only.
"""

import json
import os
import shutil
import stat
import subprocess
import tempfile
import threading
import time
import warnings

__all__ = ["Armocalc", "ArmocalcError", "ArmocalcProcessError", "Result"]

_REPORT_PARAM = "Отчет"
_SHORTEST_REPORT_PATH = 4  # a path of 4 characters or fewer writes no report
_STRESS_PREFIX = "Stress-"  # the stress routine's file beside the report
# A report counts as written by a call when it changed since shortly before the request: file
# times may lag the clock by a tick of the kernel's coarse clock.
_FILE_TIME_SLACK_NS = 1_000_000_000
# A batch's requests reach the process in groups: one pipe write per request would make the
# two processes wait for each other on every line.
_REQUESTS_PER_FLUSH = 256


class ArmocalcError(Exception):
    """A run-time error of a method: ``number`` (VB error number), ``description``, ``hint``."""

    def __init__(self, number, description, hint=None, method=None):
        self.number = number
        self.description = description
        self.hint = hint
        self.method = method
        text = "Run-time error '%s': %s" % (number, description)
        if method:
            text = "%s: %s" % (method, text)
        if hint:
            text += " (%s)" % hint
        super().__init__(text)


class ArmocalcProcessError(RuntimeError):
    """The ``armocalc call`` process is gone or answered something that is no answer."""


class Result:
    """What a call gave: ``value`` (the method's result), ``byref`` (by-reference parameters
    after the call, by declared name), ``reports`` (paths of the report files written)."""

    __slots__ = ("value", "byref", "reports")

    def __init__(self, value, byref, reports):
        self.value = value
        self.byref = byref
        self.reports = reports

    def __repr__(self):
        return "Result(value=%r, byref=%r, reports=%r)" % (self.value, self.byref, self.reports)


def _find_cli(cli):
    path = cli or os.environ.get("ARMOCALC_CLI") or shutil.which("armocalc")
    if not path:
        raise FileNotFoundError(
            "no armocalc binary: pass cli=..., set ARMOCALC_CLI or put armocalc on PATH")
    return path


class _Method:
    """One method's parameters, with every spelling the module accepts for each."""

    def __init__(self, entry):
        self.name = entry["name"]
        self.latin = entry["latin"]
        self.params = entry["params"]
        self.summary = entry.get("summary", "")
        self.writes_stress = any(param["name"] == _REPORT_PARAM
                                 and _STRESS_PREFIX in param.get("meaning", "")
                                 for param in self.params)
        self._index = {}
        for i, param in enumerate(self.params):
            for spelling in (param["name"], param["latin"]):
                self._index.setdefault(spelling, i)
                self._index.setdefault(spelling.casefold(), i)

    def param_name(self, spelling):
        index = self._index.get(spelling)
        if index is None:
            index = self._index.get(spelling.casefold())
        if index is None:
            raise TypeError("%s() got an unexpected keyword argument %r" % (self.name, spelling))
        return self.params[index]["name"]

    def arguments(self, args, kwargs):
        """The request's "args": positional values in declared order, then keywords by any
        accepted spelling; None leaves a parameter omitted (its default applies)."""
        if len(args) > len(self.params):
            raise TypeError("%s() takes at most %d arguments (%d given)"
                            % (self.name, len(self.params), len(args)))
        named = {}
        for param, value in zip(self.params, args):
            named[param["name"]] = value
        for spelling, value in kwargs.items():
            name = self.param_name(spelling)
            if name in named:
                raise TypeError("%s() got multiple values for argument %r" % (self.name, name))
            named[name] = value
        return {name: value for name, value in named.items() if value is not None}

    def doc(self):
        lines = [self.summary, "", "Keyword arguments (declared name / Latin spelling):"]
        for param in self.params:
            default = "" if not param["optional"] else " = %r" % (param["default"],)
            unit = ", " + param["unit"] if param.get("unit") else ""
            lines.append("  %s / %s: %s %s%s%s — %s" % (
                param["name"], param["latin"], param["type"], param["mode"], default, unit,
                param.get("meaning", "")))
        return "\n".join(lines)


def _changed_since(path, since_ns):
    try:
        status = os.stat(path)
    except OSError:
        return False
    return stat.S_ISREG(status.st_mode) and status.st_mtime_ns >= since_ns - _FILE_TIME_SLACK_NS


def _methods_of(cli):
    listing = subprocess.run([cli, "methods", "--json"], check=True, stdout=subprocess.PIPE)
    return [_Method(entry) for entry in json.loads(listing.stdout.decode("utf-8"))["methods"]]


def _accepts_jobs(cli, jobs):
    probe = subprocess.run([cli, "call", "--jobs", str(jobs)], input=b"",
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return probe.returncode == 0


class Armocalc:
    """One ``armocalc call`` process answering the methods of ClassBrige.

    ``jobs``: requests the process may answer in parallel (``armocalc call --jobs N``; answers
    still come in order; one job when the binary does not know the option).
    ``decimal_separator`` / ``report_encoding``: as the options of ``armocalc call``.
    """

    def __init__(self, cli=None, jobs=1, decimal_separator=None, report_encoding=None):
        self._cli = _find_cli(cli)
        self._lock = threading.RLock()
        self._process = None
        methods = _methods_of(self._cli)
        self._methods = {}
        for method in methods:
            self._methods[method.name] = method
            self._methods[method.latin] = method
            self._methods.setdefault(method.name.casefold(), method)
            self._methods.setdefault(method.latin.casefold(), method)
        command = [self._cli, "call"]
        if jobs != 1:
            if _accepts_jobs(self._cli, jobs):
                command += ["--jobs", str(jobs)]
            else:
                warnings.warn("this armocalc answers with one job (no --jobs option)")
        if decimal_separator is not None:
            command += ["--decimal-separator", decimal_separator]
        if report_encoding is not None:
            command += ["--report-encoding", report_encoding]
        # Standard error goes to a file of its own: on the caller's terminal the process would
        # print its progress and summary lines among the caller's output.
        self._stderr = tempfile.TemporaryFile()
        self._process = subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                         stderr=self._stderr)
        self._ids = self._echoes_ids()
        self._next_id = 0
        for method in methods:
            self._bind(method)

    # ------------------------------------------------------------------ set-up

    def _bind(self, method):
        def call(*args, **kwargs):
            return self._call(method, args, kwargs)

        call.__name__ = method.name
        call.__doc__ = method.doc()
        for name in (method.name, method.latin):
            if name.isidentifier() and not hasattr(type(self), name):
                setattr(self, name, call)

    def _echoes_ids(self):
        # An answer that carries the request's "id" back; older binaries refuse the field.
        answer = self._exchange({"method": "СНиП_EsB", "args": {"Класс_арматуры": 3}, "id": 0})
        return "id" in answer and answer.get("error") is None

    def __getattr__(self, name):
        # Any other letter case of a method's name (mtbetonb) reaches the same method.
        if name.startswith("_") or "_methods" not in self.__dict__:
            raise AttributeError(name)
        method = self._lookup(name)
        return self.__dict__[method.name]

    def method(self, name):
        """The method of that name (declared, Latin, any letter case) as a callable."""
        return getattr(self, self._lookup(name).name)

    def _lookup(self, name):
        method = self._methods.get(name) or self._methods.get(name.casefold())
        if method is None:
            raise AttributeError("armocalc has no method %r" % (name,))
        return method

    # ------------------------------------------------------------------ protocol

    def _line(self, request):
        return (json.dumps(request, ensure_ascii=False, allow_nan=False) + "\n").encode("utf-8")

    def _write(self, request):
        stdin = self._process.stdin
        try:
            stdin.write(self._line(request))
            stdin.flush()
        except BrokenPipeError as error:  # the process has ended before it read the request
            raise self._ended() from error

    def _read(self):
        line = self._process.stdout.readline()
        if not line:
            raise self._ended()
        try:
            return json.loads(line.decode("utf-8"))
        except ValueError as error:
            raise ArmocalcProcessError("not an answer: %r" % line[:200]) from error

    def _ended(self):
        try:
            code = self._process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            code = None
        return ArmocalcProcessError("armocalc call ended (exit status %s)%s"
                                    % (code, self._stderr_text()))

    def _stderr_text(self):
        self._stderr.seek(0)
        text = self._stderr.read()[-2000:].decode("utf-8", "replace").strip()
        return ": " + text if text else ""

    def _exchange(self, request):
        self._check_open()
        with self._lock:
            self._write(request)
            return self._read()

    def _check_open(self):
        if self._process is None or self._process.stdin.closed:
            raise ValueError("the Armocalc process is closed")

    def _request(self, method, args, kwargs):
        request = {"method": method.name, "args": method.arguments(args, kwargs)}
        if self._ids:
            request["id"] = self._next_id
            self._next_id += 1
        return request

    def _reports(self, method, request, since_ns):
        path = request["args"].get(_REPORT_PARAM)
        if not isinstance(path, str) or not path:
            return []
        candidates = []
        if len(path) > _SHORTEST_REPORT_PATH:
            candidates.append(path)
        if method.writes_stress:
            folder, name = os.path.split(path)
            candidates.append(os.path.join(folder, _STRESS_PREFIX + name))
        return [p for p in candidates if _changed_since(p, since_ns)]

    def _result(self, method, request, answer, since_ns):
        if self._ids and answer.get("id") != request.get("id"):
            raise ArmocalcProcessError("answer %r came for request %r"
                                       % (answer.get("id"), request.get("id")))
        error = answer.get("error")
        if error:
            raise ArmocalcError(error.get("number"), error.get("description"),
                                error.get("hint") or answer.get("hint"), method.name)
        return Result(answer.get("result"), answer.get("byref") or {},
                      self._reports(method, request, since_ns))

    def _call(self, method, args, kwargs):
        with self._lock:
            request = self._request(method, args, kwargs)
            since_ns = time.time_ns()
            return self._result(method, request, self._exchange(request), since_ns)

    def call(self, name, *args, **kwargs):
        """Calls the method of that name: ``ac.call("мтБетонB", КлассБетона=25)``."""
        method = self._lookup(name)
        return self._call(method, args, kwargs)

    # ------------------------------------------------------------------ batches

    def imap(self, name, calls, errors="raise"):
        """Yields the result of every call (a dict of keyword arguments each) in order, while a
        writer thread streams the requests so that neither pipe fills up. ``errors="return"``
        yields an ArmocalcError in place of a failing call's result instead of raising it."""
        if errors not in ("raise", "return"):
            raise ValueError('errors is "raise" or "return"')
        method = self._lookup(name)
        self._check_open()
        with self._lock:
            yield from self._stream(method, calls, errors)

    def map(self, name, calls, errors="raise"):
        """The results of all calls as a list (see imap)."""
        return list(self.imap(name, calls, errors))

    def _stream(self, method, calls, errors):
        sent = []  # requests written, in order; the reader takes them from the front
        condition = threading.Condition()
        state = {"done": False, "stop": False, "error": None}

        def writer():
            try:
                for kwargs in calls:
                    if state["stop"]:
                        break
                    request = self._request(method, (), kwargs)
                    line = self._line(request)
                    with condition:
                        sent.append((request, time.time_ns()))
                    self._process.stdin.write(line)
                    if len(sent) % _REQUESTS_PER_FLUSH == 0:
                        self._process.stdin.flush()
                    with condition:
                        condition.notify()
                self._process.stdin.flush()
            except BaseException as error:  # noqa: BLE001 - handed to the reader
                state["error"] = error
            finally:
                with condition:
                    state["done"] = True
                    condition.notify()

        def next_request():
            # The next request sent and not yet answered; None once the writer is done.
            with condition:
                while answered[0] >= len(sent) and not state["done"]:
                    condition.wait()
                return sent[answered[0]] if answered[0] < len(sent) else None

        thread = threading.Thread(target=writer, name="armocalc-writer", daemon=True)
        thread.start()
        answered = [0]
        try:
            while True:
                request = next_request()
                if request is None:
                    break
                answer = self._read()
                answered[0] += 1
                try:
                    result = self._result(method, request[0], answer, request[1])
                except ArmocalcError as error:
                    if errors == "raise":
                        raise
                    result = error
                yield result
            if state["error"] is not None:
                raise state["error"]
        finally:
            # Stopped early or failed: the answers to requests already sent are read (the
            # writer may wait for the pipe meanwhile) so that the next call gets its own.
            state["stop"] = True
            while self._process.poll() is None and next_request() is not None:
                self._read()
                answered[0] += 1
            thread.join()

    # ------------------------------------------------------------------ life time

    def close(self):
        """Ends the process (it exits at the end of its input)."""
        process, self._process = self._process, None
        if process is None:
            return
        try:
            process.stdin.close()
        except OSError:
            pass
        try:
            process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
        process.stdout.close()
        self._stderr.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def __del__(self):
        try:
            self.close()
        except Exception:  # noqa: BLE001 - interpreter shutdown
            pass
