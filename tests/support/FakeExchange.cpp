#include "FakeExchange.h"

FakeExchange::FakeExchange()
    : line(std::make_shared<FakeLine>(clock)),
      factory(line),
      port(factory.createPort()),
      io(clock)
{
    io.setPort(port.get());
}
