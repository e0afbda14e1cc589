#!/usr/bin/env python3
"""An HTTP/1.0 server for the download tests, on 127.0.0.1 (on ::1 when started with
"six") at a free port, printed as "PORT n" on the first line. Each path is one way a server
can answer:

  /bytes/N        N deterministic bytes (none of them zero) with their Content-Length
  /crlf           a header of CR LF lines, the body right after the blank line
  /lf             a header of bare LF lines, no Content-Length, the body until close
  /redirect       302 to /bytes/10, with a body of its own
  /missing        404 with an error page
  /early          declares 1000 bytes, sends 100, closes
  /huge           declares an absurd length, sends 50 bytes, closes
  /shorter        declares 10 bytes, sends 30
  /split          declares 10 bytes, sends 5, waits, then sends 11 more
  /reset          no Content-Length: sends part of a body, then resets the connection
  /silent         sends the header, then nothing for 20 s
  /nul            a body with a zero byte in the middle
  /echo           the request as it arrived, as the body
"""
import socket
import struct
import sys
import threading
import time


def pattern(n):
    return bytes((i * 7 + i // 4096) % 255 + 1 for i in range(n))


def answer(path, request):
    if path.startswith("/bytes/"):
        body = pattern(int(path[7:]))
        return b"HTTP/1.0 200 OK\r\nContent-Length: %d\r\n\r\n" % len(body) + body
    if path == "/crlf":
        return b"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\nX-A: b\r\n\r\n\r\nbody\r\n"
    if path == "/lf":
        return b"HTTP/1.0 200 OK\nServer: plain\n\nline one\nline two\n"
    if path == "/redirect":
        return b"HTTP/1.0 302 Found\r\nLocation: /bytes/10\r\n\r\nmoved"
    if path == "/missing":
        return b"HTTP/1.0 404 Not Found\r\nContent-Length: 8\r\n\r\nnot here"
    if path == "/early":
        return b"HTTP/1.0 200 OK\r\nContent-Length: 1000\r\n\r\n" + b"e" * 100
    if path == "/huge":
        return b"HTTP/1.0 200 OK\r\ncontent-LENGTH: 99999999999999999999999999\r\n\r\n" + b"h" * 50
    if path == "/shorter":
        return b"HTTP/1.0 200 OK\r\nContent-Length:  10 \r\n\r\n" + b"0123456789abcdefghijklmnopqrst"
    if path == "/nul":
        return b"HTTP/1.0 200 OK\r\n\r\nbefore\x00after"
    if path == "/echo":
        return b"HTTP/1.0 200 OK\r\n\r\n" + request
    return b"HTTP/1.0 404 Not Found\r\n\r\n"


def serve(connection):
    with connection:
        connection.settimeout(10)
        request = b""
        try:
            while b"\r\n\r\n" not in request:
                data = connection.recv(4096)
                if not data:
                    return
                request += data
            path = request.split(b" ")[1].decode()
            if path == "/split":
                connection.sendall(b"HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\n01234")
                time.sleep(0.3)
                connection.sendall(b"56789abcdef")
                return
            if path == "/reset":
                connection.sendall(b"HTTP/1.0 200 OK\r\n\r\npartial")
                time.sleep(0.3)
                connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
                return
            if path == "/silent":
                connection.sendall(b"HTTP/1.0 200 OK\r\n\r\nfirst")
                time.sleep(20)
                return
            connection.sendall(answer(path, request))
        except OSError:
            pass


def main():
    six = sys.argv[1:] == ["six"]
    listener = socket.socket(socket.AF_INET6 if six else socket.AF_INET, socket.SOCK_STREAM)
    listener.bind(("::1" if six else "127.0.0.1", 0))
    listener.listen(16)
    print("PORT %d" % listener.getsockname()[1], flush=True)
    # Ends by itself when the test forgets it.
    listener.settimeout(120)
    while True:
        try:
            connection, _ = listener.accept()
        except OSError:
            return
        threading.Thread(target=serve, args=(connection,), daemon=True).start()


if __name__ == "__main__":
    sys.exit(main())
