// The two shipped example models: they read without a message, and the
// second version differs from the first by a renamed class, a moved method,
// a deleted attribute and an added class.
#include <gtest/gtest.h>

#include <set>

#include "GraphDump.h"

namespace graphmat::test {
namespace {

std::set<std::string> labelsOf(const Graph& g) {
    std::set<std::string> labels;
    for (const auto& v : g.V) labels.insert(v->label);
    return labels;
}

TEST(ExampleModels, TwoVersionsOfTheShop) {
    ScratchDir dir;
    const std::string v1Path = exampleFile("shop-v1.txt"), v2Path = exampleFile("shop-v2.txt");
    ReadGraph v1 = readGraph(12, v1Path);
    ReadGraph v2 = readGraph(12, v2Path);
    EXPECT_EQ(v1.out, fileHeader(v1Path, 12) + "\n Acquisition Input Done\n Fill Neighbors");
    EXPECT_EQ(v2.out, fileHeader(v2Path, 12) + "\n Acquisition Input Done\n Fill Neighbors");
    EXPECT_EQ(v1.graph->nbPackages, 5);
    EXPECT_EQ(v1.graph->nbClasses, 12);
    EXPECT_EQ(v2.graph->nbClasses, 13);
    EXPECT_EQ(v1.graph->nbAttributes, v2.graph->nbAttributes);

    std::set<std::string> a = labelsOf(*v1.graph), b = labelsOf(*v2.graph);
    std::set<std::string> onlyV1, onlyV2;
    for (const std::string& label : a)
        if (!b.count(label)) onlyV1.insert(label);
    for (const std::string& label : b)
        if (!a.count(label)) onlyV2.insert(label);
    EXPECT_EQ(onlyV1, (std::set<std::string>{"shop.model.Product.sku", "shop.service.OrderService.applyDiscount",
                                             "shop.util.Mailer", "shop.util.Mailer.Mailer",
                                             "shop.util.Mailer.sender", "shop.util.Mailer.send"}));
    EXPECT_EQ(onlyV2, (std::set<std::string>{
                          "shop.service.PriceCalculator.applyDiscount", "shop.service.PaymentService",
                          "shop.service.PaymentService.provider", "shop.service.PaymentService.PaymentService",
                          "shop.service.PaymentService.charge", "shop.util.EmailSender",
                          "shop.util.EmailSender.EmailSender", "shop.util.EmailSender.sender",
                          "shop.util.EmailSender.send"}));

    // Every relation kind of a class diagram occurs.
    for (const ReadGraph* r : {&v1, &v2}) {
        int arcs[MAX_LABELS] = {0};
        for (const auto& e : r->graph->E)
            for (int d = 0; d < MAX_LABELS; ++d) arcs[d] += e->labels[d];
        for (int d = 1; d <= 9; ++d) EXPECT_GT(arcs[d], 0) << d;
    }
}

}  // namespace
}  // namespace graphmat::test
