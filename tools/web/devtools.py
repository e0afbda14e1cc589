"""Chromium's DevTools protocol over the pipe that --remote-debugging-pipe opens: the browser
reads commands from its descriptor 3 and writes answers and events to its descriptor 4, each
message a JSON object ended by a NUL byte."""

import json
import os
import threading


class ProtocolError(Exception):
    pass


class DevTools:
    """Commands to a browser started with pipes(), and the events it sends."""

    def __init__(self, to_browser, from_browser, on_event):
        self._writer = os.fdopen(to_browser, "wb", buffering=0)
        self._reader = os.fdopen(from_browser, "rb", buffering=0)
        self._on_event = on_event
        self._lock = threading.Lock()
        self._answered = threading.Condition(self._lock)
        self._answers = {}
        self._next_id = 0
        self._closed = False
        threading.Thread(target=self._read, daemon=True).start()

    @staticmethod
    def pipes():
        """The descriptors for the browser, and a function that puts them at 3 and 4 in the
        child (for subprocess's preexec_fn, with close_fds=False)."""
        from_us, to_browser = os.pipe()
        from_browser, to_us = os.pipe()

        def in_child():
            os.dup2(from_us, 3)
            os.dup2(to_us, 4)
            for fd in (from_us, to_browser, from_browser, to_us):
                if fd not in (3, 4):
                    os.close(fd)

        def after_start():
            os.close(from_us)
            os.close(to_us)

        return to_browser, from_browser, in_child, after_start

    def _read(self):
        pending = b""
        while True:
            try:
                data = self._reader.read(1 << 16)
            except OSError:
                data = b""
            if not data:
                with self._lock:
                    self._closed = True
                    self._answered.notify_all()
                return
            pending += data
            *messages, pending = pending.split(b"\0")
            for raw in messages:
                try:
                    message = json.loads(raw)
                except ValueError:
                    continue
                if "id" in message:
                    with self._lock:
                        self._answers[message["id"]] = message
                        self._answered.notify_all()
                elif "method" in message:
                    self._on_event(message)

    def call(self, method, params=None, session=None, timeout=30):
        """Sends one command and returns its result; ProtocolError when the browser refuses it,
        has gone or does not answer in time."""
        with self._lock:
            self._next_id += 1
            number = self._next_id
        message = {"id": number, "method": method, "params": params or {}}
        if session is not None:
            message["sessionId"] = session
        try:
            self._writer.write(json.dumps(message).encode() + b"\0")
        except OSError as error:
            raise ProtocolError(f"{method}: the browser is gone ({error})") from None
        with self._lock:
            if not self._answered.wait_for(lambda: number in self._answers or self._closed,
                                           timeout):
                raise ProtocolError(f"{method}: no answer within {timeout} s")
            if number not in self._answers:
                raise ProtocolError(f"{method}: the browser is gone")
            answer = self._answers.pop(number)
        if "error" in answer:
            raise ProtocolError(f"{method}: {answer['error'].get('message', answer['error'])}")
        return answer.get("result", {})
