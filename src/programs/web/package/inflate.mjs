// Raw deflate data into output, at most output.length bytes: the count made, -1 when there would
// be more, -2 for invalid data (its problem given to tell), -3 when it ends early. Shared by the
// package and the offline page, which hand it their own pako.
export function rawInflater(pako, tell) {
  return function inflateRaw(input, output) {
    let produced = 0;
    let over = false;
    const inflator = new pako.Inflate({ raw: true, chunkSize: 65536 });
    inflator.onData = (chunk) => {
      if (produced + chunk.length > output.length) {
        over = true;
        throw new RangeError('more than declared');
      }
      output.set(chunk, produced);
      produced += chunk.length;
    };
    inflator.onEnd = (status) => {
      inflator.err = status;
    };
    try {
      inflator.push(input, true);
    } catch (error) {
      if (!over) throw error;
    }
    if (over) return -1;
    if (inflator.err) {
      tell(inflator.strm.msg || inflator.msg || '');
      return -2;
    }
    return inflator.ended ? produced : -3;
  };
}
