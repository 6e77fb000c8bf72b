#!/usr/bin/python3
"""Serves the browser build's folder on 127.0.0.1, with the types a browser needs for its files
(.wasm as application/wasm, for streaming compilation).
    web/serve.py SITE_DIR [PORT]"""
import functools
import http.server
import socketserver
import sys
import threading


class SiteHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".js": "text/javascript",
                      ".data": "application/octet-stream", ".html": "text/html"}

    def log_message(self, *args):
        pass


class SiteServer:
    """The folder served from a thread of this process; port 0 picks a free one."""

    def __init__(self, folder, port=0):
        handler = functools.partial(SiteHandler, directory=folder)
        socketserver.ThreadingTCPServer.allow_reuse_address = True
        self.httpd = socketserver.ThreadingTCPServer(("127.0.0.1", port), handler)
        self.httpd.daemon_threads = True
        self.url = "http://127.0.0.1:%d/" % self.httpd.server_address[1]
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()


if __name__ == "__main__":
    server = SiteServer(sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 8000)
    print("Zarvolith is served at %s (Ctrl+C stops it)" % server.url, flush=True)
    try:
        server.thread.join()
    except KeyboardInterrupt:
        server.close()
