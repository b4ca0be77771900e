# F.IN comes through a named pipe whose writer stays open after a count that is not a number:
# nothing after it can be read, so the program must not wait for the writer.
mkfifo F.IN
(printf 'x\n1 Alpha\nAlpha\n'; sleep 20) >F.IN 2>/dev/null </dev/null &
