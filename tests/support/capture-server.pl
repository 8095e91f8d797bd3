#!/usr/bin/perl
# A tiny HTTP server for the end-to-end tests: it answers every request
# with the same body and appends the exact bytes of each request it
# received (head, and body by Content-Length) to a file.
#
#   capture-server.pl PORT BODY RECORD_FILE
#
# Prints "listening PORT" once it accepts connections (PORT 0: a free port
# the system picks). Runs until killed. perl-base, which every Debian
# system has, is all it needs.
use strict;
use warnings;
use IO::Socket::INET;

my ($port, $body, $record) = @ARGV;
die "usage: capture-server.pl PORT BODY RECORD_FILE\n" unless defined $record;

my $server = IO::Socket::INET->new(LocalAddr => '127.0.0.1', LocalPort => $port,
                                   Listen => 16, ReuseAddr => 1)
    or die "capture-server: cannot listen on 127.0.0.1:$port: $!\n";
$| = 1;
print "listening ", $server->sockport, "\n";

while (my $client = $server->accept) {
    binmode $client;
    my $request = '';
    while ($request !~ /\r\n\r\n/) {
        my $got = sysread($client, $request, 4096, length $request);
        last unless $got;
    }
    my ($head) = $request =~ /^(.*?\r\n\r\n)/s;
    if (defined $head && $head =~ /^Content-Length:\s*(\d+)/mi) {
        my $want = length($head) + $1;
        while (length $request < $want) {
            my $got = sysread($client, $request, $want - length $request, length $request);
            last unless $got;
        }
    }
    open my $out, '>>:raw', $record or die "capture-server: $record: $!\n";
    print $out $request;
    close $out;
    print $client "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: ",
        length($body), "\r\nConnection: close\r\n\r\n", $body;
    close $client;
}
